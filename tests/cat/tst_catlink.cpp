// The CAT routines over the real serial stack: the program's Qt SerialPort on a pseudo-terminal, the FT-847
// emulator on the other end.

#include "catlink.h"
#include "panelfixture.h"
#include "testmain.h"

#include <QTest>
#include <QTimer>

using ft847sim::Fault;

class TestCatLink : public QObject
{
    Q_OBJECT

private slots:
    // A request and its reply, read whole, even at 50 baud where the reply cannot come for more than a second, and
    // with a wait limit of its own. A reply that never comes, or comes a byte too long, is the port error: one
    // message, the main window's unload sends CAT off, the program ends, and nothing more goes out.
    void exchange_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("opcode");
        QTest::addColumn<QByteArray>("reply"); // empty: none comes
        QTest::newRow("frequency and mode") << 4800 << Fault::None << 0x03 << QByteArray::fromHex("1455000008");
        QTest::newRow("receiver status") << 4800 << Fault::None << 0xE7 << QByteArray::fromHex("80");
        QTest::newRow("receiver status at 50 baud") << 50 << Fault::None << 0xE7 << QByteArray::fromHex("80");
        QTest::newRow("silent radio") << 4800 << Fault::Silent << 0x03 << QByteArray();
        QTest::newRow("one byte too many") << 4800 << Fault::ExtraByte << 0x03 << QByteArray();
    }
    void exchange()
    {
        QFETCH(int, baud);
        QFETCH(Fault, fault);
        QFETCH(int, opcode);
        QFETCH(QByteArray, reply);
        PanelFixture f;
        QVERIFY(f.start(baud, {}, PanelFixture::Line::Pty) && f.switchOn());
        f.c().Timer1->stop(); // the routines are called by hand
        f.sim().setFault(fault);
        CatLink &link = f.program().link;
        const qsizetype mark = f.frames().size();
        link.WaitCount = CatLink::kWaitLimit - 1000; // what the last reply left does not count against this one
        link.Efface_Param();
        link.Envoi_Cmd(quint8(opcode));
        QCOMPARE(link.Lit_Reponse(opcode == 0x03 ? 5 : 1), !reply.isEmpty());
        QCOMPARE(link.CatReply, reply);
        QCOMPARE(link.WaitCount, reply.isEmpty() ? CatLink::kWaitLimit : 0);
        link.sendWithParameter(cat::OpReadReceiverStatus, 0);
        QCOMPARE(link.Lit_Reponse(1), !reply.isEmpty()); // nothing is waited for once the program has ended
        QVERIFY(f.waitForFrames(mark + 2));
        const QByteArray second = QByteArray::fromHex(reply.isEmpty() ? "0000000080" : "00000000E7");
        QCOMPARE(f.frames().mid(mark), (QByteArrayList {QByteArray(4, 0) + char(opcode), second}));
        QCOMPARE(f.programEnds, reply.isEmpty() ? QList<int> {EXIT_FAILURE} : QList<int> {});
        QCOMPARE(f.messages.size(), reply.isEmpty() ? 1 : 0);
        if (reply.isEmpty())
            QCOMPARE(f.messages[0].text, QStringLiteral("Erreur: Le port est invalide ou occupé."));
    }
};

ORVANE_TEST_CLASS(TestCatLink);
#include "tst_catlink.moc"
