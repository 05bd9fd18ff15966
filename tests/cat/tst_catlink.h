#pragma once

// The CAT routines over the real serial stack: the program's Qt SerialPort on a pseudo-terminal, the FT-847
// emulator on the other end.

#include "catlink.h"
#include "panelfixture.h"

#include <QTest>

class TestCatLink : public QObject
{
    Q_OBJECT

private slots:
    // A reply read whole at the slowest speed a hand-edited setting.ini can hold, where it cannot come for more than
    // a second: the wait rests that long between looks without being cut short.
    void replyAt50Baud()
    {
        PanelFixture f;
        QVERIFY(f.start(50, {}, PanelFixture::Line::Pty) && f.switchOn());
        f.c().Timer1->stop(); // the routines are called by hand
        CatLink &link = f.program().link;
        link.WaitCount = CatLink::kWaitLimit - 1000; // what the last reply left does not count against this one
        link.Efface_Param();
        link.Envoi_Cmd(cat::OpReadReceiverStatus);
        QVERIFY(link.Lit_Reponse(1));
        QCOMPARE(link.CatReply, QByteArray::fromHex("80"));
        QVERIFY(link.WaitCount == 0 && f.messages.isEmpty() && f.programEnds.isEmpty());
    }
};
