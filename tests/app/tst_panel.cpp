// The main window end to end, as the operator meets it: the link switched on and off, the status poll following
// the radio, folding, quitting, the about box, the keyboard, typed values and Qt's own texts in French. The radio is on
// a line that drains at its speed, at 4800 and 57600 baud; ports that cannot open are tried over Qt SerialPort and a
// pseudo-terminal.

#include "clicklabel.h"
#include "clock.h"
#include "dialogs.h"
#include "ft847window.h"
#include "lamp.h"
#include "look.h"
#include "panelfixture.h"
#include "qtcommport.h"
#include "testmain.h"
#include "translations.h"
#include "twips.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
const QByteArray kCatOff = PanelFixture::frame({0, 0, 0, 0, 0x80});
const QByteArray kStatus = PanelFixture::frame({0, 0, 0, 0, 0xE7});
const QByteArray kFreqMode = PanelFixture::frame({0, 0, 0, 0, 0x03});
} // namespace

class TestPanel : public QObject
{
    Q_OBJECT

    std::unique_ptr<PanelFixture> f;

    int heightTwips() { return f->program().window.heightTwips(); }

private slots:
    void initTestCase_data() { PanelFixture::baudRows(); }
    void init()
    {
        QFETCH_GLOBAL(int, baud);
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start(baud));
    }
    void cleanup() { f.reset(); }

    // At start-up the link is off and nothing is sent (the screen reader's test reads what the boxes show); the
    // clock shows hours and minutes.
    void startUpState()
    {
        Ft847Controls &c = f->c();
        QCOMPARE(heightTwips(), Ft847Window::kFoldedTwips);
        QVERIFY(
            c.Lab_c_on->isVisible() && !c.Lab_c_off->isVisible() && c.Labquit->isEnabled() && !c.Frame1->isEnabled());
        QVERIFY(!c.Lab_mem->isEnabled() && !c.LabLocat->isEnabled() && !c.Timer1->isActive() && f->frames().isEmpty());
        f->screenshot(u"panel-off"_s);
        ui::setClockOverride([] { return QDateTime(QDate(2026, 12, 6), QTime(9, 5, 59)); });
        QVERIFY(PanelFixture::waitFor([&] { return c.LabHeure->text() == u"09:05"_s; }, 3s));
        ui::setClockOverride({});
    }

    // "Marche" sends CAT on first; each tick of a quiet receiving radio whose dial agrees with the panel reads the
    // status, the frequency, the status twice. "Arret" sends CAT off last, closes the port and stops the ticks.
    void switchOnPollAndOff()
    {
        Ft847Controls &c = f->c();
        QVERIFY(f->switchOn());
        QVERIFY(c.Lab_c_off->isVisible() && c.Frame1->isEnabled() && !c.Labquit->isEnabled());
        QVERIFY(c.Lab_mem->isEnabled() && c.LabLocat->isEnabled());
        QCOMPARE(look::backColor(c.Lab_kk), look::PanelOn);
        QVERIFY(f->waitForFrames(1 + 8, 5s));
        const QList<QByteArray> tick {kStatus, kFreqMode, kStatus, kStatus};
        QCOMPARE(f->frames().mid(0, 9), QList<QByteArray> {QByteArray(5, 0)} + tick + tick);
        QVERIFY(!f->program().poll.SquelchOpen && !f->program().poll.TxActive);

        c.Lab_c_off->click();
        QCOMPARE(f->frames().constLast(), kCatOff);
        QVERIFY(!f->sim().catOn() && !f->program().port.portOpen() && !c.Timer1->isActive());
        QVERIFY(c.Lab_c_on->isVisible() && !c.Frame1->isEnabled() && c.Labquit->isEnabled());
        QCOMPARE(c.Lab_SM->width(), 0);
        QCOMPARE(look::backColor(c.Lab_kk), look::PanelOff);
    }

    // The radio's dial is followed and the new frequency goes back to it once, not at every tick, and so is its mode
    // (with the dial still, nothing goes back); a frequency reply whose bytes are not BCD is ignored like a reply of
    // the wrong length. While the radio transmits, whole ticks
    // read the status twice, never the frequency, and follow no dial.
    void dialIsFollowedAndSentBackOnce()
    {
        QVERIFY(f->switchOn());
        f->sim().setRawFrequencyBytes(PanelFixture::frame({0x1A, 0x2B, 0x00, 0x00}));
        QVERIFY(f->waitForFrames(f->frames().size() + 12, 5s));
        QCOMPARE(f->commandsSince(1), QList<QByteArray> {});
        QCOMPARE(f->shownDigits(), u"14550000"_s);

        f->sim().setRawFrequencyBytes({});
        f->sim().setMode(0x88);
        f->sim().setFrequency(14420000);
        QVERIFY(PanelFixture::waitFor([&] { return f->shownDigits() == u"14420000"_s; }, 3s));
        QVERIFY(f->waitForFrames(f->frames().size() + 12, 5s));
        QCOMPARE(f->commandsSince(1), QList<QByteArray> {PanelFixture::frame({0x14, 0x42, 0x00, 0x00, 0x01})});
        QCOMPARE(f->program().frequency.CurrentFreq(), u"14420000"_s);
        QCOMPARE(f->c().L_mode->text(), u"FM(N)"_s);
        QCOMPARE(f->c().LabScanMode->text(), u"FM(N)"_s);
        const qsizetype still = f->frames().size(); // a mode set on the radio itself, the dial not moved
        f->sim().setMode(0x01);
        QVERIFY(PanelFixture::waitFor([&] { return f->c().L_mode->text() == u"USB"_s; }, 3s));
        QCOMPARE(f->commandsSince(still), QList<QByteArray> {});

        f->sim().setPtt(true);
        f->sim().setFrequency(700000);
        QVERIFY(PanelFixture::waitFor([&] { return f->program().poll.TxActive; }, 3s));
        const qsizetype seen = f->frames().size();
        QVERIFY(f->waitForFrames(seen + 8, 5s));
        QVERIFY(!f->frames().mid(seen).contains(kFreqMode));
        QCOMPARE(f->shownDigits(), u"14420000"_s);
        QCOMPARE(f->c().Shape_tx_rx->accessibleName(), u"Émission"_s);
        QCOMPARE(f->program().poll.SMeterWidth, qint16(0));
    }

    // The S-meter bar: its length, and its colour at each edge of the four bands.
    void sMeterBar_data()
    {
        const QColor cyan(0x00, 0xC0, 0xC0), teal(0x00, 0x80, 0x80), dark(0x00, 0x40, 0x40), red(0xFF, 0x00, 0x00);
        orvanetest::table<int, QColor>(
            {"reading", "color"}, {{10, cyan}, {11, teal}, {13, teal}, {14, dark}, {18, dark}, {19, red}, {31, red}});
    }
    void sMeterBar()
    {
        QFETCH(int, reading);
        QVERIFY(f->switchOn());
        f->sim().setSquelchOpen(true);
        f->sim().setSMeter(reading);
        QVERIFY(PanelFixture::waitFor([&] { return f->c().Label2->text() == QString::number(reading * 130); }, 3s));
        QCOMPARE(f->program().poll.SignalLevel, reading / 2.0);
        QCOMPARE(f->c().ShapbuzyA->accessibleName(), u"Occupé"_s);
        QTEST(look::backColor(f->c().Lab_SM), "color");
        QCOMPARE(f->c().Lab_SM->width(), ui::px(reading * 130));
    }

    // "Arret" arriving while the tick's first send yields to the event loop: no port error, CAT off, no more ticks.
    void switchingOffInsideATickLeavesThePortAlone()
    {
        QVERIFY(f->switchOn());
        bool clicked = false;
        QTimer::singleShot(0, f->c().Timer1, [&] {
            QTimer::singleShot(0, [&] {
                clicked = true;
                f->c().Lab_c_off->click();
            });
        });
        f->program().poll.Timer1_Timer();
        QVERIFY(clicked && f->messages.isEmpty() && f->programEnds.isEmpty());
        QVERIFY(f->waitForLastFrame(kCatOff));
        QVERIFY(!f->c().Timer1->isActive());
    }

    // A radio that stops answering while the scanner steps every 50 ms: one message, which stays up a second with
    // the event loop running as a box does, and once the error is decided nothing goes out but the unload's CAT off.
    void silentRadioEndsTheProgramAfterCatOff()
    {
        QVERIFY(f->switchOn());
        QVERIFY(f->waitForFrames(4));
        f->c().Combo_vitesse->setEditText(QLocale().toString(0.05));
        f->c().Av_Pas->click();
        qsizetype atMessage = 0;
        ui::setMessageHandler([&](const ui::ShownMessage &m) {
            f->messages.append(m);
            atMessage = f->frames().size();
            QTest::qWait(1000);
        });
        f->sim().setFault(ft847sim::Fault::Silent);
        QVERIFY(PanelFixture::waitFor([&] { return !f->programEnds.isEmpty(); }, 10s));
        QCOMPARE(f->programEnds, QList<int> {EXIT_FAILURE});
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].text, u"Erreur: Le port est invalide ou occupé."_s);
        QCOMPARE(f->messages[0].icon, ui::MsgIcon::Error);
        QCOMPARE(f->frames().mid(atMessage), QList<QByteArray> {kCatOff});
        QVERIFY(!f->program().port.portOpen() && f->program().window.isHidden());
    }

    // Over the real serial stack, a port held by another program, absent, out of range or badly set gives the one
    // message and leaves the link off with nothing changed.
    void portThatCannotOpenStaysOff_data()
    {
        QTest::addColumn<QByteArray>("port");
        QTest::addColumn<QByteArray>("line");
        const QByteArray line = "4800,n,8,2";
        QTest::newRow("held by another program") << QByteArray("1") << line;
        QTest::newRow("adapter unplugged") << QByteArray("2") << line;
        QTest::newRow("port 7") << QByteArray("7") << line;
        QTest::newRow("port not a number") << QByteArray("un") << line;
        QTest::newRow("bad line settings") << QByteArray("1") << QByteArray("vite");
    }
    void portThatCannotOpenStaysOff()
    {
        QFETCH(QByteArray, port);
        QFETCH(QByteArray, line);
        QFETCH_GLOBAL(int, baud);
        if (baud != 4800)
            QSKIP("the serial stack refuses a port whatever the speed");
        f.reset();
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start(4800, '"' + port + "\",\"300\",\"" + line + "\",\"\",\"\"", PanelFixture::Line::Pty));
        QVERIFY(QFile::link(u"/dev/no-such-adapter"_s, f->dirPath(u"com2"_s)));
        QtCommPort other;
        other.setCommPort(1);
        other.setSettings(u"4800,n,8,2"_s);
        QVERIFY2(QTest::currentDataTag() != "held by another program"_ba || other.setPortOpen(true),
            qPrintable(other.errorString()));
        f->c().Lab_c_on->click();
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].text, u"Erreur: Le port et occupé."_s);
        QVERIFY(f->c().Lab_c_on->isVisible() && !f->c().Frame1->isEnabled() && f->c().Labquit->isEnabled());
        QVERIFY(!f->c().Timer1->isActive() && !f->program().port.portOpen() && f->frames().isEmpty());
        QCOMPARE(look::backColor(f->c().Lab_kk), look::PanelOff);
    }

    // "Memoire" unfolds and folds the panel in turn; "Arret" folds it but leaves the count of clicks as it was.
    void memoireFoldsAndArretKeepsTheClickCount()
    {
        Ft847Controls &c = f->c();
        QVERIFY(f->switchOn());
        c.Lab_mem->click();
        QCOMPARE(look::backColor(c.Lab_mem), look::Teal);
        f->screenshot(u"panel-on-unfolded"_s);
        QString folds; // U unfolded, F folded, after each click
        for (ClickLabel *label : {c.Lab_mem, c.Lab_mem, c.Lab_c_off, c.Lab_c_on, c.Lab_mem, c.Lab_mem}) {
            label->click();
            folds += heightTwips() == Ft847Window::kUnfoldedTwips ? u'U' : u'F';
        }
        QCOMPARE(folds, u"FUFFFU"_s); // the second click of the pair after "Arret" folds what is folded already
        QVERIFY(f->sim().catOn());
    }

    // Quitting sends nothing at start-up; closing the window while the link is on sends CAT off.
    void quitting()
    {
        f->c().Labquit->click();
        QVERIFY(f->program().window.isHidden() && f->frames().isEmpty() && f->messages.isEmpty());
        f.reset();
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start() && f->switchOn());
        f->program().window.close();
        QVERIFY(f->waitForLastFrame(kCatOff));
        QVERIFY(!f->program().port.portOpen() && !f->sim().catOn());
    }

    // "A propos" stays lit while its box is open; the navigation labels act on Space and Enter as buttons do; a
    // value typed in a combo box is taken as typed, with no completion from the box's list.
    void aboutBoxAndKeyboard()
    {
        Ft847Controls &c = f->c();
        QColor whileOpen;
        ui::setModalHandler([&](QDialog &box) {
            whileOpen = box.windowTitle() == u"À propos"_s ? look::backColor(c.LabPropos) : QColor();
            return int(QDialog::Accepted);
        });
        c.LabPropos->click();
        QCOMPARE(whileOpen, look::Teal);
        QCOMPARE(look::backColor(c.LabPropos), look::Navy);
        c.Lab_c_on->setFocus();
        QTest::keyClick(c.Lab_c_on, Qt::Key_Space);
        QVERIFY(f->sim().catOn());
        c.Lab_mem->setFocus();
        QTest::keyClick(c.Lab_mem, Qt::Key_Return);
        QCOMPARE(heightTwips(), Ft847Window::kUnfoldedTwips);
        f->program().window.activateWindow();
        for (const auto &[combo, typed] : {std::pair {c.Combo_pas, u"2"_s}, {c.Combo_vitesse, u"0"_s},
                 {c.Combo_Seuil, u"B"_s}, {c.Comb_mem_mode, u"c"_s}, {c.Combo1, u"vhf"_s}}) {
            combo->setFocus();
            combo->lineEdit()->clear();
            QTest::keyClicks(combo->lineEdit(), typed);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);
            QCOMPARE(combo->currentText(), typed);
        }
    }

    // Qt's own texts are French whatever the locale: the right-click menu of a text field.
    void qtSpeaksFrench()
    {
        QVERIFY(ui::loadQtFrench());
        std::unique_ptr<QMenu> menu(f->c().TextVfo1->createStandardContextMenu());
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts << action->text().section(u'\t', 0, 0); // the shortcut follows a TAB
        QVERIFY2(texts.contains(u"&Annuler"_s) && texts.contains(u"Tout sélectionner"_s), qPrintable(texts.join(u'|')));
    }
};

ORVANE_TEST_MAIN(TestPanel)
#include "tst_panel.moc"
