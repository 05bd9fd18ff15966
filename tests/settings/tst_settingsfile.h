#pragma once

// setting.ini and the record syntax it shares with datamem.txt, with real files in a temporary directory.

#include "apppaths.h"
#include "settings.h"
#include "testfiles.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSettingsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString values(const Settings &s)
    {
        return QStringList {s.PortNumber, s.FlowDelay, s.PortSettings, s.Callsign, s.Locator}.join(u';');
    }

private slots:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path()));
        apppaths::setAppDirOverride(m_dir.path());
    }
    void cleanupTestCase() { apppaths::setAppDirOverride({}); }

    // A field is written only when it reads back as written; every byte survives the code page. (Hand edits are
    // read by the syntax datamem.txt shares: its reading rows.)
    void records()
    {
        for (const auto &[field, writable] : {std::pair {u"a,b"_s, true}, {u"É"_s, true}, {u"a\"b"_s, false},
                 {u"a\nb"_s, false}, {u"a\rb"_s, false}, {u"Ω"_s, false}}) {
            const auto line = textfile::formatRecord({u"x"_s, field});
            QCOMPARE((std::pair {field, line ? textfile::parseRecords(*line).value(0).value(1) : u"-"_s}),
                (std::pair {field, writable ? field : u"-"_s}));
        }
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(textfile::encodeCp1252(textfile::decodeCp1252(all)), std::optional(all));
    }

    // The last whole record wins; an empty file changes nothing; a missing or cut file empties the port, so that
    // switching on asks for one.
    void reading()
    {
        using enum Settings::ReadResult;
        for (const auto &[bytes, result, after] :
            {std::tuple {QByteArray("\"1\",\"200\",\"4800,n,8,2\",\"F1AAA\",\"JN18\"\r\n"
                                    "\"3\",\"400\",\"9600,n,8,2\",\"F6ABC\",\"IN88GS\"\r\n"),
                 Read, u"3;400;9600,n,8,2;F6ABC;IN88GS"_s},
                {QByteArray(""), Empty, u"4;;;;JN18EU"_s}, {QByteArray(), Missing, u";;;;JN18EU"_s},
                {QByteArray("\"1\",\"200\",\"4800,n,8,2\""), Truncated, u";;;;JN18EU"_s},
                {QByteArray("\"1\",\"200\",\"4800,n,8,2\",\"\",\"\"\r\n\"2\",\"3"), Truncated,
                    u";200;4800,n,8,2;;"_s}}) {
            QFile::remove(Settings::SettingsPath());
            QVERIFY(bytes.isNull() || testfiles::write(Settings::SettingsPath(), bytes));
            Settings s {u"4"_s, {}, {}, {}, u"JN18EU"_s};
            QCOMPARE(s.read(), result);
            QCOMPARE(values(s), after);
        }
    }

    // One line replaces the file and a stale Data.tmp; what cannot be written (a double quote, a directory gone)
    // leaves the old file whole.
    void writing()
    {
        const Settings s {u"1"_s, u"300"_s, u"57600,n,8,2"_s, u"F6ÉTÉ"_s, u"JN18EU"_s};
        QString error;
        QVERIFY(s.write(&error)); // the first write creates the file
        QVERIFY(testfiles::write(Settings::TempPath(), "stale bytes from an earlier crash"));
        QVERIFY2(s.write(&error), qPrintable(error));
        QVERIFY((!Settings {u"1"_s, {}, {}, u"F6\"X"_s, {}}.write(&error) && !error.isEmpty()));
        apppaths::setAppDirOverride(m_dir.filePath(u"gone"_s));
        QVERIFY(!s.write(&error) && !error.isEmpty());
        apppaths::setAppDirOverride(m_dir.path());
        QCOMPARE(testfiles::read(Settings::SettingsPath()),
            QByteArray("\"1\",\"300\",\"57600,n,8,2\",\"F6\xc9T\xc9\",\"JN18EU\"\r\n"));
        QVERIFY(!QFile::exists(Settings::TempPath()));
        Settings back;
        QCOMPARE(back.read(), Settings::ReadResult::Read);
        QCOMPARE(values(back), values(s));
    }
};
