#pragma once

// datamem.txt on disk: reading (hand-edited files included), appending, and deleting through DATAqS.tmp, with real
// files in a temporary directory.

#include "apppaths.h"
#include "memoryfile.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

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
    void reading()
    {
        const std::pair<QByteArray, QString> rows[]
            = {{"\"VHF\",\"145500\",\"FM\",\"\"\r\n\"HF2\",\"7050\",\"LSB\",\"QSO, Paul\"\r\n",
                   u"VHF\t145500\tFM\t|HF2\t7050\tLSB\tQSO, Paul"_s},
                {"\"Sp1\",\"432100\",\"CW\",\"R\xe9p\xe9teur \x80 \x9c\"\r\n", u"Sp1\t432100\tCW\tRépéteur € œ"_s},
                {"\n\"UHF\",\"430000\",\"FM\",\"a\"\n\r\nHF1, 3650 ,LSB,net du soir\n\"HF3\",\"14100\",\"USB\",\"z",
                    u"UHF\t430000\tFM\ta|HF1\t3650\tLSB\tnet du soir|HF3\t14100\tUSB\tz"_s},
                {"\"VHF\" x,\"145500\",\"FM\" ,\"pas de fin\r\n", u"VHF\t145500\tFM\tpas de fin"_s},
                {QByteArrayLiteral("\x00\x01\"\"\"\x9d\r\r\xff,\n\"VHF\",\"144800\",\"FM\",\"APRS\"\n\"\x00"),
                    u"VHF\t144800\tFM\tAPRS"_s},
                {"\"VHF\",\"145500\",\"FM\"\r\n\"VHF\",\"145600\",\"FM\",\"\",\"extra\"\r\n", u"VHF\t145600\tFM\t"_s},
                {"", {}}, {{}, {}}};
        for (const auto &[bytes, expected] : rows) {
            if (bytes.isNull())
                QFile::remove(memoryfile::memoryPath());
            else
                QVERIFY(testfiles::write(memoryfile::memoryPath(), bytes));
            QStringList entries;
            const auto stored = memoryfile::readAll(memoryfile::memoryPath(), &m_error);
            for (const MemoryEntry &e : stored.value())
                entries << QStringList {e.group, e.frequency, e.mode, e.observation}.join(u'\t');
            QCOMPARE(entries.join(u'|'), expected);
        }
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
    void deletion()
    {
        const QByteArray a = "\"VHF\",\"145500\",\"FM\",\"\"\r\n", b = "\"HF2\",\"7050\",\"LSB\",\"\"\r\n",
                         c = "\"UHF\",\"430000\",\"FM\",\"relais, nord\"\r\n", d = "\"Sp1\",\"7050\",\"CW\",\"x\"\r\n";
        const std::tuple<QByteArray, const char *, QByteArray> rows[]
            = {{a + b + c + d, "7050", a + c}, {a + b + c, "1840", a + b + c},
                {a + "\"HF2\",\"007050\",\"LSB\",\"\"\r\n" + c, "7050", a + c}, {b + c, "007050", c},
                {"\"Sp2\",\"balise\",\"CW\",\"\"\r\n\"Sp2\",\"Balise\",\"CW\",\"\"\r\n", "balise",
                    "\"Sp2\",\"Balise\",\"CW\",\"\"\r\n"},
                {"\"VHF\",\"145500\",\"FM\",\"\"\n\nHF2,7050,LSB,x\nnot an entry\n\"UHF\",\"430000\",\"FM\",\"\"",
                    "7050", "\"VHF\",\"145500\",\"FM\",\"\"\r\nnot an entry\r\n\"UHF\",\"430000\",\"FM\",\"\"\r\n"}};
        for (const auto &[before, selected, after] : rows) {
            QVERIFY(testfiles::write(memoryfile::memoryPath(), before));
            QVERIFY(testfiles::write(memoryfile::tempPath(), "left over from a crash\r\n"));
            QVERIFY2(memoryfile::Efface_qrg(QString::fromLatin1(selected), &m_error), qPrintable(m_error));
            QCOMPARE(read(), after);
            QVERIFY(!QFile::exists(memoryfile::tempPath()));
        }
        QFile::remove(memoryfile::memoryPath()); // a memory file that cannot be read has nothing deleted
        QVERIFY(QDir(m_dir.path()).mkdir(u"datamem.txt"_s) && !memoryfile::Efface_qrg(u"7050"_s, &m_error));
    }
};
