// The memory panel end to end: the whole program on the offscreen platform, its datamem.txt in a temporary
// application directory, and the FT-847 emulator receiving what "Envoyer au VFO" sends.

#include "clicklabel.h"
#include "ft847window.h"
#include "memoryfile.h"
#include "memorygrid.h"
#include "panelfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QByteArray kFile = "\"VHF\",\"145500\",\"FM\",\"Relais R0\"\r\n"
                         "\"HF2\",\"7050\",\"LSB\",\"R\xe9seau\"\r\n"
                         "\"UHF\",\"430050\",\"FM\",\"\"\r\n"
                         "\"vhf\",\"145600\",\"FM\",\"minuscules\"\r\n"
                         "\"VHF\",\"144300\",\"USB\",\"\"\r\n"
                         "\"Sp1\",\"7050\",\"CW\",\"\"\r\n"
                         "\"HF2\",\"3560\",\"CW(N)\",\"QRP\"\r\n"
                         "\"VHF\",\"balise\",\"CW\",\"\"\r\n";

using Frames = QList<QByteArray>;

QByteArray manyEntries()
{
    QByteArray file;
    for (int i = 0; i < 300; ++i)
        file += "\"VHF\",\"" + QByteArray::number(144000 + i) + "\",\"FM\",\"\"\r\n";
    return file;
}

} // namespace

class TestMemoryEditor : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PanelFixture> f;

    QString path(const QString &name = u"datamem.txt"_s) { return f->dirPath(name); }
    QByteArray fileBytes()
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Writes datamem.txt, then starts the program (whose loading shows the list), switched on and unfolded.
    void start(const QByteArray &file = kFile, int baud = 4800)
    {
        f = std::make_unique<PanelFixture>();
        QFile out(path());
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        QVERIFY(f->start(baud));
        QVERIFY(f->switchOn());
        f->c().Lab_mem->click();
        f->c().ft_847->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->c().ft_847));
    }
    QStringList column(int col)
    {
        QStringList cells;
        for (int row = 0; row < f->c().Grid->rows(); ++row)
            cells.append(f->c().Grid->textMatrix(row, col));
        return cells;
    }
    void clickRow(int row, bool twice = false)
    {
        MemoryGrid *grid = f->c().Grid;
        grid->refresh();
        const QModelIndex index = grid->model()->index(row, 1);
        grid->scrollTo(index);
        const QPoint at = grid->visualRect(index).center();
        if (twice) // through the window, so that the press, release, press make the double-click
            QTest::mouseDClick(
                grid->window()->windowHandle(), Qt::LeftButton, {}, grid->viewport()->mapTo(grid->window(), at));
        else
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    // Frames that set the frequency or the mode, from the index-th frame on.
    Frames sets(qsizetype from)
    {
        Frames result;
        for (const QByteArray &frame : f->frames().mid(from))
            if (frame.at(4) == 0x01 || frame.at(4) == 0x07)
                result.append(frame);
        return result;
    }
    struct Buttons
    {
        bool ajouter, memoriser, envoyer;
        bool operator==(const Buttons &) const = default;
    };
    Buttons buttons()
    {
        const Ft847Controls &c = f->c();
        return {c.cmdAjouter->isEnabled(), c.Com_valid_memo->isEnabled(), c.Com_envoi_freq->isEnabled()};
    }

private slots:
    void cleanup() { f.reset(); }

    void groupFilterAtStartUpAndAfterTicking()
    {
        start();
        QCOMPARE(column(1), (QStringList {{}, u"145500"_s, u"144300"_s, u"balise"_s}));
        QCOMPARE(column(0), (QStringList {{}, u"VHF"_s, u"VHF"_s, u"VHF"_s}));
        f->c().CheckHF2->click();
        f->c().CheckUHF->click();
        f->c().ComEnvoiLIste->click();
        QCOMPARE(
            column(1), (QStringList {{}, u"145500"_s, u"7050"_s, u"430050"_s, u"144300"_s, u"3560"_s, u"balise"_s}));
        QCOMPARE(f->c().Grid->textMatrix(2, 3), u"Réseau"_s);
        QVERIFY(f->messages.isEmpty());
        clickRow(2);
        f->c().Grid->refresh();
        QCOMPARE(f->program().window.heightTwips(), Ft847Window::kUnfoldedTwips);
        f->screenshot(u"memory-panel"_s);
    }

    void sendToVfo_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<Frames>("expected");
        QTest::addColumn<QString>("shownMode");
        auto hex = [](const char *text) { return QByteArray::fromHex(text); };
        for (const int baud : {4800, 57600}) {
            const QByteArray at = QByteArray::number(baud);
            QTest::newRow(at + " 7050 LSB") << baud << 2 << false << Frames {hex("0070500001"), hex("0000000007")}
                                          << u"LSB"_s;
            QTest::newRow(at + " double-click on 144300 USB")
                << baud << 3 << true << Frames {hex("1443000001"), hex("0100000007")} << u"USB"_s;
            QTest::newRow(at + " CW(N) sends only its frequency")
                << baud << 4 << false << Frames {hex("0035600001")} << u"FM"_s;
        }
        QTest::newRow("a frequency that is text sends nothing") << 4800 << 5 << false << Frames {} << u"FM"_s;
        QTest::newRow("the empty top row sends nothing") << 4800 << 0 << false << Frames {} << u"FM"_s;
    }
    void sendToVfo()
    {
        QFETCH(int, baud);
        QFETCH(int, row);
        QFETCH(bool, doubleClick);
        QFETCH(Frames, expected);
        QFETCH(QString, shownMode);
        start(kFile, baud);
        f->c().CheckHF2->click();
        f->c().ComEnvoiLIste->click();
        const qsizetype before = f->frames().size();
        clickRow(row, doubleClick);
        if (!doubleClick) {
            QCOMPARE(f->c().Com_envoi_freq->isEnabled(), !expected.isEmpty());
            f->c().Com_envoi_freq->click();
        }
        // A send returns once its frame has crossed the line.
        QCOMPARE(sets(before), expected);
        QCOMPARE(f->c().L_mode->text(), shownMode);
    }

    void buttonStatesFollowTheTable()
    {
        start();
        Ft847Controls &c = f->c();
        QCOMPARE(buttons(), (Buttons {true, false, false}));
        c.Grid->setFocus();
        clickRow(1);
        QCOMPARE(buttons(), (Buttons {false, false, true}));
        QCOMPARE(f->program().memory.SelectedFreq, u"145500"_s);
        c.Text_choix_observ->setFocus(); // the grid loses the focus
        QCOMPARE(buttons(), (Buttons {true, false, true}));
        c.cmdAjouter->click();
        QCOMPARE(buttons(), (Buttons {true, true, false}));
        c.Com_Anul->click();
        QCOMPARE(buttons(), (Buttons {true, false, false}));
        QTest::keyClicks(c.Text_choix_qrg, u"1"_s);
        QCOMPARE(buttons(), (Buttons {true, true, false}));
        c.Text_choix_qrg->clear(); // an emptied text leaves "Memoriser" as it is
        QCOMPARE(buttons(), (Buttons {true, true, false}));
        clickRow(2);
        c.ComEnvoiLIste->click();
        QCOMPARE(buttons().envoyer, false);
    }

    void enregistrerLeVfo_data()
    {
        QTest::addColumn<quint32>("radio");
        QTest::addColumn<quint8>("modeCode");
        QTest::addColumn<QString>("kHz");
        QTest::addColumn<QString>("mode");
        QTest::newRow("7.050 00 MHz LSB") << 705000u << quint8(0x00) << u"7050"_s << u"LSB"_s;
        QTest::newRow("145.512 50 MHz FM, tens of Hz dropped") << 14551250u << quint8(0x08) << u"145512"_s << u"FM"_s;
    }
    void enregistrerLeVfo()
    {
        QFETCH(quint32, radio);
        QFETCH(quint8, modeCode);
        QFETCH(QString, kHz);
        QFETCH(QString, mode);
        start();
        f->sim().setMode(modeCode);
        f->sim().setFrequency(radio);
        const QString digits = QString::number(radio).rightJustified(8, u'0');
        QVERIFY(PanelFixture::waitFor([&] { return f->c().Lab_control->text() == digits; }, 3s));
        QVERIFY(PanelFixture::waitFor([&] { return f->c().L_mode->text() == mode; }, 3s));
        f->c().Combo1->setEditText(u"HF3"_s);
        f->c().cmdAjouter->click();
        QCOMPARE(f->c().Text_choix_qrg->text(), kHz);
        QCOMPARE(f->c().Comb_mem_mode->currentText(), mode);
        QCOMPARE(f->c().Combo1->currentText(), u"HF3"_s);
    }

    void memoriserAppendsToGridAndFileWhateverTheFilter()
    {
        start();
        Ft847Controls &c = f->c();
        c.Combo1->setEditText(u"HF4"_s);
        c.Comb_mem_mode->setEditText(u"LSB"_s);
        QTest::keyClicks(c.Text_choix_qrg, u"3650"_s);
        QTest::keyClicks(c.Text_choix_observ, u"net \"du\" soir, "_s);
        c.Text_choix_observ->insert(u"été"_s);
        QCOMPARE(c.Text_choix_observ->text(), u"net du soir, été"_s); // the quotes never reach the field
        c.Com_valid_memo->click();
        QCOMPARE(c.Grid->rows(), 5);
        QCOMPARE(c.Grid->textMatrix(4, 3), u"net du soir, été"_s);
        QVERIFY(c.Text_choix_qrg->text().isEmpty() && c.Text_choix_observ->text().isEmpty());
        QVERIFY(!c.Com_valid_memo->isEnabled());
        QCOMPARE(fileBytes(), kFile + "\"HF4\",\"3650\",\"LSB\",\"net du soir, \xe9t\xe9\"\r\n");
        c.ComEnvoiLIste->click();
        QCOMPARE(c.Grid->rows(), 4);

        // Nor does a character the file cannot hold, even when the text is set rather than typed.
        c.Text_choix_observ->setText(u"Ω \"x\""_s);
        QCOMPARE(c.Text_choix_observ->text(), u" x"_s);
    }

    void supprimerRemovesTheRowAndEveryEntryOfItsFrequency()
    {
        start();
        Ft847Controls &c = f->c();
        c.CheckHF2->click();
        c.CheckSpec1->click();
        c.ComEnvoiLIste->click();
        QCOMPARE(column(1), (QStringList {{}, u"145500"_s, u"7050"_s, u"144300"_s, u"7050"_s, u"3560"_s, u"balise"_s}));
        clickRow(0);
        c.Com_eff->click(); // the empty top row: nothing
        QCOMPARE(c.Grid->rows(), 7);
        QCOMPARE(fileBytes(), kFile);

        clickRow(2);
        c.Text_choix_qrg->setText(u"1"_s);
        c.Com_eff->click();
        QCOMPARE(column(1), (QStringList {{}, u"145500"_s, u"144300"_s, u"7050"_s, u"3560"_s, u"balise"_s}));
        QVERIFY(c.Text_choix_qrg->text().isEmpty());
        QVERIFY(!fileBytes().contains("\"7050\""));
        c.ComEnvoiLIste->click();
        QCOMPARE(column(1), (QStringList {{}, u"145500"_s, u"144300"_s, u"3560"_s, u"balise"_s}));

        // The new file cannot be written: the message, the row back in its place, the file as it was.
        const QByteArray before = fileBytes();
        QVERIFY(QDir(f->dirPath()).mkdir(u"DATAqS.tmp"_s));
        clickRow(2);
        c.Com_eff->click();
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].icon, ui::MsgIcon::Error);
        QCOMPARE(column(1), (QStringList {{}, u"145500"_s, u"144300"_s, u"3560"_s, u"balise"_s}));
        QCOMPARE(c.Grid->rowSel(), 2);
        QCOMPARE(fileBytes(), before);
    }

    void keyboardSelectionKeepsTheSelectionInStep()
    {
        start();
        clickRow(1);
        QTest::keyClick(f->c().Grid, Qt::Key_Down);
        QCOMPARE(f->c().Grid->rowSel(), 2);
        QCOMPARE(f->program().memory.SelectedFreq, u"144300"_s);
        QCOMPARE(f->program().memory.SelectedMode, u"USB"_s);
        f->c().Com_eff->click();
        QVERIFY(!fileBytes().contains("\"144300\""));
        QVERIFY(fileBytes().contains("\"145500\""));
        QCOMPARE(column(1), (QStringList {{}, u"145500"_s, u"balise"_s}));
    }

    void operationDuringAfficherComesAfterTheRead_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("firstLast"); // frequencies of row 1 and of the last row
        QTest::addColumn<int>("rows");
        QTest::addColumn<QByteArray>("after");
        const QByteArray file = manyEntries();
        QTest::newRow("Memoriser") << u"Memoriser"_s << QStringList {u"144000"_s, u"145000"_s} << 302
                                   << file + "\"VHF\",\"145000\",\"FM\",\"\"\r\n";
        QTest::newRow("Supprimer") << u"Supprimer"_s << QStringList {u"144001"_s, u"144299"_s} << 300
                                   << file.mid(file.indexOf('\n') + 1);
        QTest::newRow("Afficher again lists each entry once")
            << u"Afficher"_s << QStringList {u"144000"_s, u"144299"_s} << 301 << file;
    }
    void operationDuringAfficherComesAfterTheRead()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, firstLast);
        QFETCH(int, rows);
        QFETCH(QByteArray, after);
        start(manyEntries());
        Ft847Controls &c = f->c();
        c.Text_choix_qrg->setText(u"145000"_s);
        bool askedWhileReading = false;
        QTimer::singleShot(0, c.Grid, [&] {
            askedWhileReading = f->program().memory.isReading();
            c.Grid->refresh(); // the first entry is on screen: the operator may select it
            c.Grid->selectRow(1);
            QPushButton *button = action == u"Memoriser"_s ? c.Com_valid_memo
                : action == u"Supprimer"_s                 ? c.Com_eff
                                                           : c.ComEnvoiLIste;
            button->click();
        });
        c.ComEnvoiLIste->click();
        QVERIFY(askedWhileReading);
        QVERIFY(!f->program().memory.isReading());
        const QStringList freqs = column(1);
        QCOMPARE(freqs.size(), rows);
        QCOMPARE((QStringList {freqs.value(1), freqs.last()}), firstLast);
        QCOMPARE(fileBytes(), after);
    }

    void unusableFileShowsAMessageAndLosesNothing()
    {
        f = std::make_unique<PanelFixture>();
        QVERIFY(QDir(f->dirPath()).mkdir(u"datamem.txt"_s));
        QVERIFY(f->start());
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].icon, ui::MsgIcon::Error);
        QVERIFY2(f->messages[0].text.endsWith(u" (un dossier porte ce nom)."_s), qPrintable(f->messages[0].text));
        QCOMPARE(f->c().Grid->rows(), 1);
        f->c().Text_choix_qrg->setText(u"7050"_s);
        f->c().Text_choix_observ->setText(u"x"_s);
        f->c().Com_valid_memo->click();
        QCOMPARE(f->messages.size(), 2);
        QCOMPARE(f->c().Grid->rows(), 1);
        QCOMPARE(f->c().Text_choix_qrg->text(), u"7050"_s);
        QCOMPARE(f->c().Text_choix_observ->text(), u"x"_s);
    }
};

QTEST_MAIN(TestMemoryEditor)
#include "tst_memoryeditor.moc"
