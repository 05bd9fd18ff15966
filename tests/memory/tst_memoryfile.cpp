// datamem.txt on disk: reading (hand-edited files included), appending, and deleting through DATAqS.tmp, with
// real files in a temporary directory.

#include "apppaths.h"
#include "memoryfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using Entries = QList<MemoryEntry>;

class TestMemoryFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
        apppaths::setAppDirOverride(m_dir.path());
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    void cleanupTestCase()
    {
        apppaths::setAppDirOverride({});
        QLocale::setDefault(QLocale::c());
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Entries>("entries");
        QTest::newRow("as written, order kept")
            << QByteArray("\"VHF\",\"145500\",\"FM\",\"\"\r\n\"HF2\",\"7050\",\"LSB\",\"QSO, Paul\"\r\n")
            << Entries {{u"VHF"_s, u"145500"_s, u"FM"_s, {}}, {u"HF2"_s, u"7050"_s, u"LSB"_s, u"QSO, Paul"_s}};
        QTest::newRow("Windows-1252, one byte a letter")
            << QByteArray("\"Sp1\",\"432100\",\"CW\",\"R\xe9p\xe9teur \x80 \x9c\"\r\n")
            << Entries {{u"Sp1"_s, u"432100"_s, u"CW"_s, u"Répéteur € œ"_s}};
        QTest::newRow("hand edited: blank lines, unquoted fields, LF only, short last line")
            << QByteArray(
                   "\n\"UHF\",\"430000\",\"FM\",\"a\"\n\r\nHF1, 3650 ,LSB,net du soir\n\"HF3\",\"14100\",\"USB\",\"z")
            << Entries {{u"UHF"_s, u"430000"_s, u"FM"_s, u"a"_s}, {u"HF1"_s, u"3650"_s, u"LSB"_s, u"net du soir"_s},
                   {u"HF3"_s, u"14100"_s, u"USB"_s, u"z"_s}};
        QTest::newRow("text after a closing quote dropped, a missing closing quote runs to the line end")
            << QByteArray("\"VHF\" x,\"145500\",\"FM\" ,\"pas de fin\r\n")
            << Entries {{u"VHF"_s, u"145500"_s, u"FM"_s, u"pas de fin"_s}};
        QTest::newRow("binary garbage around an entry")
            << QByteArrayLiteral("\x00\x01\"\"\"\x9d\r\r\xff,\n\"VHF\",\"144800\",\"FM\",\"APRS\"\n\"\x00")
            << Entries {{u"VHF"_s, u"144800"_s, u"FM"_s, u"APRS"_s}};
        QTest::newRow("a line of fewer than four fields is no entry")
            << QByteArray("\"VHF\",\"145500\",\"FM\"\r\n\"VHF\",\"145600\",\"FM\",\"\",\"extra\"\r\n")
            << Entries {{u"VHF"_s, u"145600"_s, u"FM"_s, {}}};
        QTest::newRow("empty file") << QByteArray() << Entries {};
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Entries, entries);
        write(memoryfile::memoryPath(), bytes);
        QString error;
        QCOMPARE(memoryfile::readAll(memoryfile::memoryPath(), &error), std::optional<Entries>(entries));
    }

    void missingFileReadsEmptyAndFirstAppendCreatesIt()
    {
        QString error;
        QCOMPARE(memoryfile::readAll(memoryfile::memoryPath(), &error), std::optional<Entries>(Entries {}));
        QVERIFY(memoryfile::Enreg_qrg({u"VHF"_s, u"145500"_s, u"FM"_s, {}}, &error));
        QCOMPARE(read(memoryfile::memoryPath()), QByteArray("\"VHF\",\"145500\",\"FM\",\"\"\r\n"));
    }

    void appendStartsItsOwnLineAfterAShortLastLine()
    {
        write(memoryfile::memoryPath(), "\"HF1\",\"3650\",\"LSB\",\"\"");
        QString error;
        QVERIFY(memoryfile::Enreg_qrg({u"HF2"_s, u"7050"_s, u"CW"_s, u"été, 5 W"_s}, &error));
        QCOMPARE(read(memoryfile::memoryPath()),
            QByteArray("\"HF1\",\"3650\",\"LSB\",\"\"\r\n\"HF2\",\"7050\",\"CW\",\"\xe9t\xe9, 5 W\"\r\n"));
    }

    void unwritableFieldIsRefused_data()
    {
        QTest::addColumn<MemoryEntry>("entry");
        QTest::newRow("double quote") << MemoryEntry {u"VHF"_s, u"145500"_s, u"FM"_s, u"dit \"Bob\""_s};
        QTest::newRow("line break") << MemoryEntry {u"VHF"_s, u"145500"_s, u"FM"_s, u"a\r\nb"_s};
        QTest::newRow("outside Windows-1252") << MemoryEntry {u"VHF"_s, u"145500"_s, u"FM"_s, u"Ω"_s};
    }
    void unwritableFieldIsRefused()
    {
        QFETCH(MemoryEntry, entry);
        const QByteArray before = "\"VHF\",\"145500\",\"FM\",\"\"\r\n";
        write(memoryfile::memoryPath(), before);
        QString error;
        QVERIFY(!memoryfile::Enreg_qrg(entry, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(read(memoryfile::memoryPath()), before);
    }

    void frequencyKey_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::newRow("padded") << u"7050"_s << u"007050"_s;
        QTest::newRow("longer than six") << u"1296100"_s << u"1296100"_s;
        QTest::newRow("decimal comma rounds half up") << u"7050,5"_s << u"007051"_s;
        QTest::newRow("negative") << u"-12"_s << u"-000012"_s;
        QTest::newRow("text stays text") << u"balise"_s << u"balise"_s;
        QTest::newRow("empty") << QString() << QString();
    }
    void frequencyKey()
    {
        QFETCH(QString, text);
        QTEST(memoryfile::frequencyKey(text), "key");
    }

    void deletion_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QByteArray>("after");
        const QByteArray a = "\"VHF\",\"145500\",\"FM\",\"\"\r\n";
        const QByteArray b = "\"HF2\",\"7050\",\"LSB\",\"\"\r\n";
        const QByteArray c = "\"UHF\",\"430000\",\"FM\",\"relais, nord\"\r\n";
        const QByteArray d = "\"Sp1\",\"7050\",\"CW\",\"x\"\r\n";
        QTest::newRow("both entries of 7050 go, order kept") << a + b + c + d << u"7050"_s << a + c;
        QTest::newRow("absent frequency rewrites the same lines") << a + b + c << u"1840"_s << a + b + c;
        QTest::newRow("007050 in the file, 7050 asked")
            << a + "\"HF2\",\"007050\",\"LSB\",\"\"\r\n" + c << u"7050"_s << a + c;
        QTest::newRow("7050 in the file, 007050 asked") << b + c << u"007050"_s << c;
        QTest::newRow("text matches only the same text")
            << QByteArray("\"Sp2\",\"balise\",\"CW\",\"\"\r\n\"Sp2\",\"Balise\",\"CW\",\"\"\r\n") << u"balise"_s
            << QByteArray("\"Sp2\",\"Balise\",\"CW\",\"\"\r\n");
        QTest::newRow("hand edits: CR LF everywhere after, blank lines gone, other lines as they were")
            << QByteArray(
                   "\"VHF\",\"145500\",\"FM\",\"\"\n\nHF2,7050,LSB,x\nnot an entry\n\"UHF\",\"430000\",\"FM\",\"\"")
            << u"7050"_s
            << QByteArray("\"VHF\",\"145500\",\"FM\",\"\"\r\nnot an entry\r\n\"UHF\",\"430000\",\"FM\",\"\"\r\n");
    }
    void deletion()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, selected);
        QFETCH(QByteArray, after);
        write(memoryfile::memoryPath(), before);
        write(memoryfile::tempPath(), "left over from a crash\r\n");
        QString error;
        QVERIFY2(memoryfile::Efface_qrg(selected, &error), qPrintable(error));
        QCOMPARE(read(memoryfile::memoryPath()), after);
        QVERIFY(!QFile::exists(memoryfile::tempPath()));
    }

    void fileFromTheOriginalPlatformReadAndRewrittenUnchanged()
    {
        // Made byte for byte as the original program writes it: quoted fields, CR LF, Windows-1252.
        const QByteArray original = "\"HF1\",\"3650\",\"LSB\",\"R\xe9seau du dimanche, 9h\"\r\n"
                                    "\"VHF\",\"145500\",\"FM\",\"\"\r\n"
                                    "\"Sp1\",\"10368100\",\"CW\",\"Balise \xab JN18 \xbb \x96 1\xb0 est\"\r\n";
        write(memoryfile::memoryPath(), original);
        QString error;
        const auto entries = memoryfile::readAll(memoryfile::memoryPath(), &error);
        QVERIFY(entries);
        QCOMPARE(entries->size(), 3);
        QCOMPARE(entries->at(0).observation, u"Réseau du dimanche, 9h"_s);
        QCOMPARE(entries->at(2).observation, u"Balise « JN18 » – 1° est"_s);
        QVERIFY(memoryfile::Efface_qrg(u"28000"_s, &error));
        QCOMPARE(read(memoryfile::memoryPath()), original);
        for (const MemoryEntry &e : *entries)
            QVERIFY(memoryfile::Enreg_qrg(e, &error));
        QCOMPARE(read(memoryfile::memoryPath()), original + original);
    }

    void failuresLeaveTheFileAsItWas()
    {
        const QByteArray before = "\"HF2\",\"7050\",\"LSB\",\"\"\r\n";
        write(memoryfile::memoryPath(), before);
        // The temporary file cannot be written: the deletion fails and the memory file is untouched.
        QVERIFY(QDir(m_dir.path()).mkdir(u"DATAqS.tmp"_s));
        QString error;
        QVERIFY(!memoryfile::Efface_qrg(u"7050"_s, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(read(memoryfile::memoryPath()), before);

        // A memory file that cannot be read or written at all.
        QVERIFY(QFile::remove(memoryfile::memoryPath()));
        QVERIFY(QDir(m_dir.path()).mkdir(u"datamem.txt"_s));
        QVERIFY(!memoryfile::readAll(memoryfile::memoryPath(), &error));
        QVERIFY(!memoryfile::Enreg_qrg({u"VHF"_s, u"145500"_s, u"FM"_s, {}}, &error));
        QVERIFY(!memoryfile::Efface_qrg(u"145500"_s, &error));
        QVERIFY(QFileInfo(memoryfile::memoryPath()).isDir());
    }
};

QTEST_GUILESS_MAIN(TestMemoryFile)
#include "tst_memoryfile.moc"
