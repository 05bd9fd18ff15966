#include "apppaths.h"
#include "settings.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList values(const Settings &s)
{
    return {s.PortNumber, s.FlowDelay, s.PortSettings, s.Callsign, s.Locator};
}

Settings make(const QStringList &v)
{
    return {v.value(0), v.value(1), v.value(2), v.value(3), v.value(4)};
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void writeRaw(const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(u"setting.ini"_s));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray readRaw(const QString &name = u"setting.ini"_s)
    {
        QFile f(m_dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        apppaths::setAppDirOverride(m_dir.path());
    }
    void cleanupTestCase() { apppaths::setAppDirOverride({}); }

    void parseRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QStringList>>("records");
        QTest::newRow("quoted with commas inside")
            << QByteArray("\"1\",\"300\",\"57600,n,8,2\",\"F6ABC\",\"JN18EU\"\r\n")
            << QList<QStringList> {{u"1"_s, u"300"_s, u"57600,n,8,2"_s, u"F6ABC"_s, u"JN18EU"_s}};
        QTest::newRow("empty fields") << QByteArray("\"\",\"\",\"\"\r\n")
                                      << QList<QStringList> {{QString(), QString(), QString()}};
        QTest::newRow("unquoted hand edit, blanks trimmed")
            << QByteArray("2, 400 ,\"9600,n,8,2\",F1XYZ,IN88\n")
            << QList<QStringList> {{u"2"_s, u"400"_s, u"9600,n,8,2"_s, u"F1XYZ"_s, u"IN88"_s}};
        QTest::newRow("LF only, blank lines skipped") << QByteArray("\"a\",\"b\"\n\n   \r\n\"c\",\"d\"")
                                                      << QList<QStringList> {{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}};
        QTest::newRow("text after a closing quote dropped")
            << QByteArray("\"a\"xyz,\"b\"\r\n") << QList<QStringList> {{u"a"_s, u"b"_s}};
        QTest::newRow("missing closing quote runs to line end")
            << QByteArray("\"a\",\"b,c\r\n\"d\"\r\n") << QList<QStringList> {{u"a"_s, u"b,c"_s}, {u"d"_s}};
        QTest::newRow("trailing comma gives an empty field")
            << QByteArray("\"a\",\r\n") << QList<QStringList> {{u"a"_s, QString()}};
        QTest::newRow("Windows-1252 bytes")
            << QByteArray("\"\xc9t\xe9\",\"\x80\x9c\"\r\n") << QList<QStringList> {{u"Été"_s, u"€œ"_s}};
    }
    void parseRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QStringList>, records);
        QCOMPARE(textfile::parseRecords(bytes), records);
    }

    void everyByteSurvivesTheCodePage()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        const QString text = textfile::decodeCp1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(textfile::encodeCp1252(text), std::optional<QByteArray>(all));
        QCOMPARE(textfile::encodeCp1252(u"é"_s), std::optional<QByteArray>("\xe9"));
        QVERIFY(!textfile::encodeCp1252(u"Ω"_s));
    }

    void formatRecordRefusesWhatWouldNotReadBack_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("writable");
        QTest::newRow("comma") << u"a,b"_s << true;
        QTest::newRow("accent") << u"É"_s << true;
        QTest::newRow("double quote") << u"a\"b"_s << false;
        QTest::newRow("line feed") << u"a\nb"_s << false;
        QTest::newRow("carriage return") << u"a\rb"_s << false;
        QTest::newRow("outside the code page") << u"Ω"_s << false;
    }
    void formatRecordRefusesWhatWouldNotReadBack()
    {
        QFETCH(QString, field);
        QFETCH(bool, writable);
        const auto line = textfile::formatRecord({u"x"_s, field});
        QCOMPARE(line.has_value(), writable);
        if (writable)
            QCOMPARE(textfile::parseRecords(*line), (QList<QStringList> {{u"x"_s, field}}));
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<Settings::ReadResult>("result");
        QTest::addColumn<QStringList>("values"); // read over {"4", "", "", "", "JN18EU"}
        using enum Settings::ReadResult;
        QTest::newRow("last record wins")
            << QByteArray("\"1\",\"200\",\"4800,n,8,2\",\"F1AAA\",\"JN18\"\r\n"
                          "\"3\",\"400\",\"9600,n,8,2\",\"F6ABC\",\"IN88GS\"\r\n")
            << Read << QStringList {u"3"_s, u"400"_s, u"9600,n,8,2"_s, u"F6ABC"_s, u"IN88GS"_s};
        QTest::newRow("empty file changes nothing")
            << QByteArray("") << Empty << QStringList {u"4"_s, {}, {}, {}, u"JN18EU"_s};
        QTest::newRow("missing") << QByteArray() << Missing << QStringList {{}, {}, {}, {}, u"JN18EU"_s};
        QTest::newRow("record cut after its third field")
            << QByteArray("\"1\",\"200\",\"4800,n,8,2\"") << Truncated << QStringList {{}, {}, {}, {}, u"JN18EU"_s};
        QTest::newRow("whole record then a cut one")
            << QByteArray("\"1\",\"200\",\"4800,n,8,2\",\"\",\"\"\r\n\"2\",\"3") << Truncated
            << QStringList {{}, u"200"_s, u"4800,n,8,2"_s, {}, {}};
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        if (!bytes.isNull())
            writeRaw(bytes);
        Settings s = make({u"4"_s, {}, {}, {}, u"JN18EU"_s});
        QTEST(s.read(), "result");
        QTEST(values(s), "values");
    }

    void writeLeavesOneLineAndNoTemporaryFile_data()
    {
        QTest::addColumn<QByteArray>("before"); // null: no file yet
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("two records and a stale Data.tmp replaced")
            << QByteArray(
                   "\"1\",\"200\",\"4800,n,8,2\",\"OLD\",\"OLD\"\r\n\"1\",\"200\",\"4800,n,8,2\",\"OLD\",\"OLD\"\r\n")
            << QStringList {u"1"_s, u"300"_s, u"57600,n,8,2"_s, u"F6ÉTÉ"_s, u"JN18EU"_s}
            << QByteArray("\"1\",\"300\",\"57600,n,8,2\",\"F6\xc9T\xc9\",\"JN18EU\"\r\n");
        QTest::newRow("first write creates the file")
            << QByteArray() << QStringList {u"1"_s, {}, {}, {}, {}} << QByteArray("\"1\",\"\",\"\",\"\",\"\"\r\n");
    }
    void writeLeavesOneLineAndNoTemporaryFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, values);
        if (!before.isNull()) {
            writeRaw(before);
            QFile leftover(m_dir.filePath(u"Data.tmp"_s));
            QVERIFY(leftover.open(QIODevice::WriteOnly));
            leftover.write("stale bytes from an earlier crash");
        }
        QString error;
        QVERIFY2(make(values).write(&error), qPrintable(error));
        QTEST(readRaw(), "after");
        QVERIFY(!QFile::exists(m_dir.filePath(u"Data.tmp"_s)));
        Settings back;
        QCOMPARE(back.read(), Settings::ReadResult::Read);
        QCOMPARE(::values(back), values);
    }

    void failedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("callsign");
        QTest::addColumn<bool>("directoryGone");
        QTest::newRow("double quote in a field") << u"F6\"X"_s << false;
        QTest::newRow("directory cannot be written") << u"F6ABC"_s << true;
    }
    void failedWriteKeepsTheOldFile()
    {
        QFETCH(QString, callsign);
        QFETCH(bool, directoryGone);
        const QByteArray old("\"2\",\"200\",\"4800,n,8,2\",\"OLD\",\"\"\r\n");
        writeRaw(old);
        if (directoryGone)
            apppaths::setAppDirOverride(m_dir.filePath(u"no/such/dir"_s));
        QString error;
        QVERIFY(!make({u"1"_s, {}, {}, callsign, {}}).write(&error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readRaw(), old);
        QVERIFY(!QFile::exists(m_dir.filePath(u"Data.tmp"_s)));
    }

    void appDirHasExactlyOneSeparator_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("settingsPath");
        QTest::newRow("root") << u"/"_s << u"/setting.ini"_s;
        QTest::newRow("no trailing separator") << u"/opt/orvane"_s << u"/opt/orvane/setting.ini"_s;
        QTest::newRow("trailing separator") << u"/opt/orvane/"_s << u"/opt/orvane/setting.ini"_s;
    }
    void appDirHasExactlyOneSeparator()
    {
        QFETCH(QString, dir);
        apppaths::setAppDirOverride(dir);
        QTEST(Settings::SettingsPath(), "settingsPath");
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
