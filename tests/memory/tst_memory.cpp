// datamem.txt read and written; the memory editor on the panel.

#include "apppaths.h"
#include "memoryfile.h"
#include "panelscenario.h"
#include "testfiles.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The memory panel end to end: the whole program with its datamem.txt in a temporary application directory, the
// radio receiving what "Envoyer au VFO" sends. "datamem=" is the file's frequencies, "mkdir=" makes a directory
// beside it.
class TestMemoryEditor : public PanelScenario
{
    Q_OBJECT

    const QByteArray m_file = "\"VHF\",\"145500\",\"FM\",\"Relais R0\"\r\n\"HF2\",\"7050\",\"LSB\",\"R\xe9seau\"\r\n"
                              "\"UHF\",\"430050\",\"FM\",\"\"\r\n\"vhf\",\"145600\",\"FM\",\"minuscules\"\r\n"
                              "\"VHF\",\"144300\",\"USB\",\"\"\r\n\"Sp1\",\"7050\",\"CW\",\"\"\r\n"
                              "\"HF2\",\"3560\",\"CW(N)\",\"QRP\"\r\n\"VHF\",\"balise\",\"CW\",\"\"\r\n";

    void prepare() override
    {
        const QString path = f->dirPath(u"datamem.txt"_s);
        QVERIFY(QTest::currentTestFunction() == QByteArrayView("unusableFile") ? QDir().mkdir(path)
                                                                               : testfiles::write(path, m_file));
    }
    void started() override { act(u"Lab_mem"_s); } // the memory panel unfolded
    bool special(const QString &name, const QString &value) override
    {
        return name == u"mkdir=" ? QDir(f->dirPath()).mkdir(value) : PanelScenario::special(name, value);
    }
    std::optional<QString> specialRead(const QString &target) override
    {
        QStringList frequencies;
        QString error;
        for (const MemoryEntry &entry :
            memoryfile::readAll(memoryfile::memoryPath(), &error).value_or(QList<MemoryEntry> {}))
            frequencies << entry.frequency;
        return target == u"datamem" ? frequencies.join(u',') : PanelScenario::specialRead(target);
    }

    void rows() override
    {
        const QByteArray all = "|datamem=145500,7050,430050,145600,144300,7050,3560,balise";
        auto buttons = [](const char *states) {
            const QByteArrayList on = QByteArray(states).split(' ');
            return "cmdAjouter.enabled=" + on[0] + "|Com_valid_memo.enabled=" + on[1]
                + "|Com_envoi_freq.enabled=" + on[2];
        };
        // The groups ticked list their entries in file order, their code matched exactly.
        row("VHF at start-up", "", "", "Grid=,145500,144300,balise");
        row("more groups", "CheckHF2;CheckUHF;ComEnvoiLIste", "", "Grid=,145500,7050,430050,144300,3560,balise");
        // "Envoyer au VFO", or a double-click, sends the row's frequency and mode; a mode without a button is not
        // sent, and the empty top row or a frequency that is text send nothing.
        row("7050 LSB", "CheckHF2;ComEnvoiLIste;Grid@2;Com_envoi_freq", "0070500001 0000000007", "L_mode=LSB");
        row("double-click on 144300 USB", "CheckHF2;ComEnvoiLIste;Grid@@3", "1443000001 0100000007", "L_mode=USB");
        row("CW(N)", "CheckHF2;ComEnvoiLIste;Grid@4;Com_envoi_freq", "0035600001", "L_mode=FM");
        row("text frequency", "Grid@3;Com_envoi_freq", "", "Com_envoi_freq.enabled=false");
        row("top row", "Grid@0;Com_envoi_freq", "", "Com_envoi_freq.enabled=false");
        // "Ajouter", "Mémoriser" and "Envoyer au VFO" offered as the table and the form allow.
        row("buttons at start", "", "", buttons("true false false"));
        row("a row selected", "Grid!;Grid@1", "", buttons("false false true"));
        row("the grid left", "Grid!;Grid@1;Text_choix_observ!", "", buttons("true false true"));
        row("Annuler", "cmdAjouter;Com_Anul", "", buttons("true false false"));
        row("a frequency typed, then emptied", "Text_choix_qrg<1;Text_choix_qrg=", "", buttons("true true false"));
        row("Afficher", "Grid@2;ComEnvoiLIste", "", "Com_envoi_freq.enabled=false");
        // "Ajouter" takes the VFO to the kHz, with its mode, into the form; "Mémoriser" adds it to the grid and the
        // file whatever the filter. Quotes never reach the fields, nor characters the file cannot hold.
        row("Ajouter 7.050 00 LSB", "CurrentFreq=00705000;Com_LSB;Combo1=HF3;cmdAjouter", "0000000007",
            "Text_choix_qrg=7050|Comb_mem_mode=LSB|Combo1=HF3|" + buttons("true true false"));
        row("Ajouter 145.512 50 FM, Mémoriser", "CurrentFreq=14551250;cmdAjouter;Com_valid_memo", "",
            "Grid=,145500,144300,balise,145512|Text_choix_qrg=|Com_valid_memo.enabled=false" + all + ",145512");
        row("quotes typed", "Text_choix_observ<net \"du\" soir", "", "Text_choix_observ=net du soir");
        row("characters outside Windows-1252", "Text_choix_observ=Ω \"é\"", "", "Text_choix_observ= é");
        // "Supprimer" removes the row (not the empty top one) and every entry of its frequency from the file, the row
        // chosen with the mouse or the keyboard; when the new file cannot be written, the row comes back.
        row("Supprimer on the top row", "Grid@0;Com_eff", "", "Grid=,145500,144300,balise" + all);
        row("Supprimer 7050", "CheckHF2;ComEnvoiLIste;Grid@2;Com_eff", "",
            "Grid=,145500,144300,3560,balise|datamem=145500,430050,145600,144300,3560,balise");
        row("Supprimer by the keyboard", "Grid@1;Grid+Down;Com_eff", "",
            "Grid=,145500,balise|datamem=145500,7050,430050,145600,7050,3560,balise");
        row("Supprimer, the file not writable", "mkdir=DATAqS.tmp;Grid@2;Com_eff", "",
            "Grid=,145500,144300,balise|messages=Erreur : La mémoire n'a pas pu être supprimée (un dossier porte ce "
            "nom)."
                + all);
    }

private slots:
    // A click on "Mémoriser", "Supprimer" or "Afficher" while "Afficher" reads a long file comes after the read:
    // every entry listed once, the file changed once.
    void duringAfficher_data()
    {
        orvanetest::table<QString, int, int, int>({"button", "rows", "first", "last"},
            {{u"Com_valid_memo"_s, 302, 144000, 145000}, {u"Com_eff"_s, 300, 144001, 144299},
                {u"ComEnvoiLIste"_s, 301, 144000, 144299}});
    }
    void duringAfficher()
    {
        QFETCH(QString, button);
        QFETCH(int, rows);
        QByteArray big;
        for (int i = 0; i < 300; ++i)
            big += "\"VHF\",\"" + QByteArray::number(144000 + i) + "\",\"FM\",\"\"\r\n";
        QVERIFY(testfiles::write(memoryfile::memoryPath(), big));
        bool askedWhileReading = false;
        QTimer::singleShot(0, f->c().Grid, [&] { askedWhileReading = f->program().memory.isReading(); });
        act(u"Text_choix_qrg=;~Grid@1;~Text_choix_qrg=145000;~"_s + button + u";ComEnvoiLIste"_s);
        QVERIFY(askedWhileReading && !f->program().memory.isReading());
        const QStringList grid = read(u"Grid"_s).split(u','), file = read(u"datamem"_s).split(u',');
        QCOMPARE(grid.size(), rows);
        QCOMPARE(file.size(), rows - 1);
        QTEST(grid[1].toInt(), "first");
        QTEST(file[0].toInt(), "first");
        QTEST(grid.last().toInt(), "last");
        QTEST(file.last().toInt(), "last");
    }

    // A datamem.txt that cannot be read: a message at start-up; one that cannot be written keeps the form filled.
    void unusableFile()
    {
        act(u"Text_choix_qrg=7050;Text_choix_observ=x;Com_valid_memo"_s);
        QCOMPARE(f->messages.size(), 2);
        QVERIFY(f->messages[0].text.endsWith(u" (un dossier porte ce nom)."_s));
        QCOMPARE(read(u"Grid"_s) + read(u"Text_choix_qrg"_s) + read(u"Text_choix_observ"_s), u"7050x"_s);
    }
};

// datamem.txt on disk: reading (hand-edited files included), appending, and deleting through DATAqS.tmp, with real
// files in a temporary directory.
class TestMemoryFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_error;

    static QByteArray read() { return testfiles::read(memoryfile::memoryPath()); }

private slots:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path()));
        apppaths::setAppDirOverride(m_dir.path());
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    void cleanupTestCase()
    {
        apppaths::setAppDirOverride({});
        QLocale::setDefault(QLocale::system());
    }

    // As written (fields with commas, Windows-1252), and as hand edits leave it: blank lines, unquoted fields, LF
    // only, a short last line, text after a closing quote, a missing closing quote, binary garbage, a line of
    // fewer than four fields (no entry) or more (the rest ignored). Entries shown as fields joined by tabs.
    void reading_data()
    {
        orvanetest::namedTable<QByteArray, QString>({"bytes", "expected"},
            {{"as written", "\"VHF\",\"145500\",\"FM\",\"\"\r\n\"HF2\",\"7050\",\"LSB\",\"QSO, Paul\"\r\n",
                 u"VHF\t145500\tFM\t|HF2\t7050\tLSB\tQSO, Paul"_s},
                {"Windows-1252", "\"Sp1\",\"432100\",\"CW\",\"R\xe9p\xe9teur \x80 \x9c\"\r\n",
                    u"Sp1\t432100\tCW\tRépéteur € œ"_s},
                {"hand edits",
                    "\n\"UHF\",\"430000\",\"FM\",\"a\"\n\r\nHF1, 3650 ,LSB,net du soir\n\"HF3\",\"14100\",\"USB\",\"z",
                    u"UHF\t430000\tFM\ta|HF1\t3650\tLSB\tnet du soir|HF3\t14100\tUSB\tz"_s},
                {"after a closing quote", "\"VHF\" x,\"145500\",\"FM\" ,\"pas de fin\r\n",
                    u"VHF\t145500\tFM\tpas de fin"_s},
                {"binary garbage",
                    QByteArrayLiteral("\x00\x01\"\"\"\x9d\r\r\xff,\n\"VHF\",\"144800\",\"FM\",\"APRS\"\n\"\x00"),
                    u"VHF\t144800\tFM\tAPRS"_s},
                {"three and five fields", "\"VHF\",\"145500\",\"FM\"\r\n\"VHF\",\"145600\",\"FM\",\"\",\"extra\"\r\n",
                    u"VHF\t145600\tFM\t"_s},
                {"empty", "", {}}, {"missing", {}, {}}});
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        if (bytes.isNull())
            QFile::remove(memoryfile::memoryPath());
        else
            QVERIFY(testfiles::write(memoryfile::memoryPath(), bytes));
        QStringList entries;
        const auto stored = memoryfile::readAll(memoryfile::memoryPath(), &m_error);
        for (const MemoryEntry &e : stored.value())
            entries << QStringList {e.group, e.frequency, e.mode, e.observation}.join(u'\t');
        QTEST(entries.join(u'|'), "expected");
    }

    // An entry goes on a line of its own, the file made when missing; a field that would not read back whole is
    // refused and the file left as it was.
    void appending()
    {
        QVERIFY(memoryfile::Enreg_qrg({u"HF1"_s, u"3650"_s, u"LSB"_s, {}}, &m_error));
        QVERIFY(testfiles::write(memoryfile::memoryPath(), read().chopped(2)));
        QVERIFY(memoryfile::Enreg_qrg({u"HF2"_s, u"7050"_s, u"CW"_s, u"été, 5 W"_s}, &m_error));
        const QByteArray written = "\"HF1\",\"3650\",\"LSB\",\"\"\r\n\"HF2\",\"7050\",\"CW\",\"\xe9t\xe9, 5 W\"\r\n";
        QCOMPARE(read(), written);
        for (const QString &observation : {u"dit \"Bob\""_s, u"a\r\nb"_s, u"Ω"_s}) {
            QVERIFY(
                !memoryfile::Enreg_qrg({u"VHF"_s, u"145500"_s, u"FM"_s, observation}, &m_error) && !m_error.isEmpty());
            QCOMPARE(read(), written);
        }
    }

    // A deletion matches frequencies by value (a kHz number rounded, six digits at least) and text only by the
    // same text; it keeps every other line in place, ended by CR LF, drops blank lines and replaces a stale
    // DATAqS.tmp.
    void deletion_data()
    {
        const QByteArray a = "\"VHF\",\"145500\",\"FM\",\"\"\r\n", b = "\"HF2\",\"7050\",\"LSB\",\"\"\r\n",
                         c = "\"UHF\",\"430000\",\"FM\",\"relais, nord\"\r\n", d = "\"Sp1\",\"7050\",\"CW\",\"x\"\r\n";
        orvanetest::namedTable<QByteArray, QString, QByteArray>({"before", "selected", "after"},
            {{"two entries", a + b + c + d, u"7050"_s, a + c}, {"none", a + b + c, u"1840"_s, a + b + c},
                {"leading zeros in the file", a + "\"HF2\",\"007050\",\"LSB\",\"\"\r\n" + c, u"7050"_s, a + c},
                {"leading zeros typed", b + c, u"007050"_s, c},
                {"text as written", "\"Sp2\",\"balise\",\"CW\",\"\"\r\n\"Sp2\",\"Balise\",\"CW\",\"\"\r\n", u"balise"_s,
                    "\"Sp2\",\"Balise\",\"CW\",\"\"\r\n"},
                {"hand edits",
                    "\"VHF\",\"145500\",\"FM\",\"\"\n\nHF2,7050,LSB,x\nnot an entry\n\"UHF\",\"430000\",\"FM\",\"\"",
                    u"7050"_s,
                    "\"VHF\",\"145500\",\"FM\",\"\"\r\nnot an entry\r\n\"UHF\",\"430000\",\"FM\",\"\"\r\n"}});
    }
    void deletion()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, selected);
        QVERIFY(testfiles::write(memoryfile::memoryPath(), before));
        QVERIFY(testfiles::write(memoryfile::tempPath(), "left over from a crash\r\n"));
        QVERIFY2(memoryfile::Efface_qrg(selected, &m_error), qPrintable(m_error));
        QTEST(read(), "after");
        QVERIFY(!QFile::exists(memoryfile::tempPath()));
    }
    void deletionFromAnUnreadableFile()
    {
        QVERIFY(QDir(m_dir.path()).mkdir(u"datamem.txt"_s) && !memoryfile::Efface_qrg(u"7050"_s, &m_error));
    }
};

ORVANE_TEST_MAIN(TestMemoryFile, TestMemoryEditor)
#include "tst_memory.moc"
