#pragma once

// Scenario tables for the whole program against the radio on the UART test port, at 4800 and 57600 baud, the link
// on and the poll stopped. A row adds the commands the radio receives (in hex, "frames=" first among what is
// shown; the poll's requests left out); a send returns once its frame has crossed the line, so no action waits. The
// digits always show the last frequency sent. The panel's own names: "tick" is a tick of the scanner's timer,
// "CurrentFreq=" tunes before the frames counted, "SquelchOpen=1" and "SignalLevel=n" are the radio's squelch and
// S-meter as the poll reads them there, "L_mode=" what the poll last showed, "locale=" sets the locale; "ScanPos="
// is the scanner's position, "Grid=" the memory grid's frequencies.

#include "ft847window.h"
#include "memorygrid.h"
#include "panelfixture.h"
#include "scenario.h"

#include <QPushButton>

class PanelScenario : public Scenario
{
    Q_OBJECT

protected:
    std::unique_ptr<PanelFixture> f;
    qsizetype m_mark = 0;

    virtual void prepare() { } // before the program starts: files in its directory
    virtual void started() { }
    static void row(const char *name, const QByteArray &actions, const char *frames, const QByteArray &shown = {})
    {
        Scenario::row(name, actions, "frames=" + QByteArray(frames) + (shown.isEmpty() ? "" : "|" + shown));
    }
    QWidget *root() override { return &f->program().window; }
    QList<ui::ShownMessage> &messages() override { return f->messages; }
    bool special(const QString &name, const QString &value) override
    {
        if (name == u"CurrentFreq=") {
            f->program().frequency.tuneTo(value.toLongLong());
            m_mark = f->frames().size();
        } else if (name == u"locale=") {
            QLocale::setDefault(QLocale(value));
        } else if (name == u"tick") {
            f->program().scanner.requestStep();
        } else if (name == u"SquelchOpen=") {
            f->sim().setSquelchOpen(value == u"1");
            f->program().poll.Lit_Etat();
        } else if (name == u"VFOB=") {
            f->program().vfoShift.setVfoB(value.toLongLong());
        } else if (name == u"L_mode=") {
            f->program().frequency.showMode(value);
        } else if (name == u"SignalLevel=") {
            f->sim().setSMeter(qRound(value.toDouble() * 2));
            f->program().poll.Lit_SMetre();
        } else {
            if (name.startsWith(u"Grid@"))
                f->c().Grid->refresh();
            return false;
        }
        return true;
    }
    std::optional<QString> specialRead(const QString &target) override
    {
        QStringList texts;
        if (target == u"frames") {
            for (const QByteArray &frame : f->commandsSince(m_mark))
                texts << QString::fromLatin1(frame.toHex());
            return texts.join(u' ');
        }
        if (target == u"ScanPos")
            return f->program().scanner.ScanPos.toText(QLocale());
        if (target != u"Grid")
            return std::nullopt;
        for (int row = 0; row < f->c().Grid->rows(); ++row)
            texts << f->c().Grid->textMatrix(row, 1);
        return texts.join(u',');
    }
    void verify() override
    {
        QByteArray digits = "14550000";
        for (const QByteArray &frame : f->frames())
            digits = frame.at(4) == 0x01 ? frame.left(4).toHex() : digits;
        QCOMPARE(f->shownDigits(), QString::fromLatin1(digits));
    }

private slots:
    void initTestCase_data() { PanelFixture::baudRows(); }
    void init()
    {
        QFETCH_GLOBAL(int, baud);
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        f = std::make_unique<PanelFixture>();
        prepare();
        QVERIFY(f->start(baud));
        QVERIFY(f->switchOn());
        f->c().Timer1->stop();
        f->c().ft_847->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->c().ft_847));
        m_mark = f->frames().size();
        started();
    }
    void cleanup()
    {
        f.reset();
        QLocale::setDefault(QLocale::system());
    }
};
