// The CAT routines over the real serial stack: Qt SerialPort on a pseudo-terminal, with the FT-847 emulator
// on the other end.

#include "apppaths.h"
#include "catlink.h"
#include "ft847sim.h"
#include "messagebox.h"
#include "programend.h"
#include "qtcommport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}
} // namespace

class TestCatLink : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ft847sim::Ft847Sim> m_sim;
    std::unique_ptr<QtCommPort> m_port;
    std::unique_ptr<CatLink> m_link;
    QList<ui::ShownMessage> m_messages;
    QList<int> m_ends;
    int m_unloads = 0;

    QList<QByteArray> loggedFrames() const
    {
        QList<QByteArray> frames;
        for (const auto &f : m_sim->frames())
            frames.append(f.bytes);
        return frames;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        apppaths::setAppDirOverride(m_dir.path());
        ui::setMessageHandler([this](const ui::ShownMessage &m) { m_messages.append(m); });
        ui::setProgramEndHandler([this](int code) { m_ends.append(code); });
    }

    void init()
    {
        m_messages.clear();
        m_ends.clear();
        m_unloads = 0;
        m_sim = std::make_unique<ft847sim::Ft847Sim>(ft847sim::SimConfig {4800, 0, m_dir.filePath(u"com1"_s)});
        QString error;
        QVERIFY2(m_sim->start(&error), qPrintable(error));
        m_port = std::make_unique<QtCommPort>();
        m_port->setCommPort(1);
        m_port->setSettings(u"4800,n,8,2"_s);
        QVERIFY2(m_port->setPortOpen(true), qPrintable(m_port->errorString()));
        m_link = std::make_unique<CatLink>(*m_port);
        m_link->setUnloadHandler([this] {
            ++m_unloads;
            m_link->CatOnOff[4] = cat::OpCatOff;
            m_link->Envoi_CatOnOff();
        });
    }

    void cleanup()
    {
        m_link.reset();
        m_port.reset();
        m_sim.reset();
    }

    void catOnOffIgnoresTheCommandBuffer()
    {
        m_link->CatCommand = {0x14, 0x55, 0x00, 0x00, 0x01};
        m_link->CatOnOff[4] = cat::OpCatOn;
        m_link->Envoi_CatOnOff();
        m_link->CatOnOff[4] = cat::OpCatOff;
        m_link->Envoi_CatOnOff();
        QVERIFY(m_sim->waitForFrames(2, std::chrono::seconds(2)));
        QCOMPARE(loggedFrames(), (QList<QByteArray> {hex("0000000000"), hex("0000000080")}));
        QVERIFY(!m_sim->catOn());
    }

    void parametersStayUntilCleared()
    {
        m_link->Charge_BCD(1425000);
        m_link->Envoi_Cmd(cat::OpSetFrequency);
        m_link->Envoi_Cmd(cat::OpRepeaterShift); // the frequency digits still ride along
        m_link->Efface_Param();
        m_link->CatCommand[0] = 0x89;
        m_link->Envoi_Cmd(cat::OpRepeaterShift);
        QVERIFY(m_sim->waitForFrames(3, std::chrono::seconds(2)));
        QCOMPARE(loggedFrames(), (QList<QByteArray> {hex("0142500001"), hex("0142500009"), hex("8900000009")}));
        QCOMPARE(m_sim->frequency(), 1425000u);
        QCOMPARE(m_sim->repeaterShift(), quint8(0x89));
    }

    void replyIsReadWhole_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("opcode");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("frequency and mode") << 4800 << 0x03 << 5 << hex("4334250088");
        QTest::newRow("receiver status") << 4800 << 0xE7 << 1 << hex("11");
        // A hand-edited speed: the reply cannot arrive for more than a second, and the wait rests that long.
        QTest::newRow("receiver status at 50 baud") << 50 << 0xE7 << 1 << hex("11");
    }
    void replyIsReadWhole()
    {
        QFETCH(int, baud);
        QFETCH(int, opcode);
        QFETCH(int, count);
        QFETCH(QByteArray, reply);
        m_sim->setBaud(baud);
        m_port->setPortOpen(false);
        m_port->setSettings(u"%1,n,8,2"_s.arg(baud));
        QVERIFY(m_port->setPortOpen(true));
        m_sim->setFrequency(43342500);
        m_sim->setMode(0x88);
        m_sim->setSMeter(0x11);
        m_sim->setSquelchOpen(true);
        m_link->WaitCount = 1234;
        m_link->Efface_Param();
        m_link->Envoi_Cmd(static_cast<quint8>(opcode));
        QVERIFY(m_link->Lit_Reponse(count));
        QCOMPARE(m_link->CatReply, reply);
        QCOMPARE(m_link->WaitCount, 0);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(loggedFrames(), (QList<QByteArray> {QByteArray(4, 0) + char(opcode)}));
    }

    void missingReplyEndsTheProgram_data()
    {
        QTest::addColumn<ft847sim::Fault>("fault");
        QTest::newRow("silent radio") << ft847sim::Fault::Silent;
        QTest::newRow("one byte too many") << ft847sim::Fault::ExtraByte;
    }
    void missingReplyEndsTheProgram()
    {
        QFETCH(ft847sim::Fault, fault);
        m_sim->setFault(fault);
        m_link->Efface_Param();
        m_link->Envoi_Cmd(cat::OpReadFrequencyMode);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!m_link->Lit_Reponse(5));
        const double elapsed = clock.nsecsElapsed() / 1e9;

        QCOMPARE(m_link->WaitCount, CatLink::kWaitLimit);
        QVERIFY(m_link->CatReply.isEmpty());
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, u"Erreur: Le port est invalide ou occupé."_s);
        QCOMPARE(m_messages[0].icon, ui::MsgIcon::Error);
        QCOMPARE(m_unloads, 1);
        QCOMPARE(m_ends, QList<int> {EXIT_FAILURE});
        // The wait rests between polls rather than spinning through its count.
        QVERIFY2(elapsed >= 1.0, qPrintable(u"%1 s"_s.arg(elapsed)));
        // The main window's unload switched the link off: CAT off was the last frame the radio saw.
        QVERIFY(m_sim->waitForFrames(2, std::chrono::seconds(2)));
        QCOMPARE(loggedFrames().constLast(), hex("0000000080"));

        // The program has ended: nothing more goes out, nothing more is waited for, no second message.
        m_link->Envoi_Cmd(cat::OpReadReceiverStatus);
        QVERIFY(!m_link->Lit_Reponse(1));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(loggedFrames().size(), 2);
    }

    void eachReplyHasItsOwnLimit()
    {
        // 9000 polls spent on one reply do not count against the next.
        m_link->WaitCount = CatLink::kWaitLimit - 1000;
        for (int i = 0; i < 3; ++i) {
            m_link->Efface_Param();
            m_link->Envoi_Cmd(cat::OpReadReceiverStatus);
            QVERIFY(m_link->Lit_Reponse(1));
        }
        QVERIFY(m_messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCatLink)
#include "tst_catlink.moc"
