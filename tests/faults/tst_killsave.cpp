// A save interrupted by the process being killed (a crash, a power cut of the program): a child process saves
// setting.ini, or deletes from datamem.txt and stores again, in a tight loop and is killed with SIGKILL at a random
// moment, hundreds of times. After every kill each file must be whole: exactly the old version or the new one,
// never cut short, never missing.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <random>
#include <thread>

using namespace Qt::StringLiterals;

namespace {
constexpr int kKills = 250;

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

class TestKillSave : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesAWholeFile_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("temp");
        QTest::addColumn<QList<QByteArray>>("versions"); // the first is there before the first save
        const QByteArray memories = "\"VHF\",\"145500\",\"FM\",\"Relais R0\"\r\n"
                                    "\"HF2\",\"7050\",\"LSB\",\"R\xe9seau\"\r\n";
        QTest::newRow("setting.ini") << u"settings"_s << u"setting.ini"_s << u"Data.tmp"_s
                                     << QList<QByteArray> {"\"1\",\"300\",\"4800,n,8,2\",\"F6ABC\",\"JN18EU\"\r\n",
                                            "\"1\",\"300\",\"4800,n,8,2\",\"F4NEW/P\",\"IN88GS\"\r\n"};
        QTest::newRow("datamem.txt") << u"memories"_s << u"datamem.txt"_s << u"DATAqS.tmp"_s
                                     << QList<QByteArray> {memories + "\"VHF\",\"144300\",\"USB\",\"\"\r\n", memories};
    }
    void killedSaveLeavesAWholeFile()
    {
        QFETCH(QString, mode);
        QFETCH(QString, file);
        QFETCH(QString, temp);
        QFETCH(QList<QByteArray>, versions);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        {
            QFile first(dir.filePath(file));
            QVERIFY(first.open(QIODevice::WriteOnly));
            first.write(versions[0]);
        }
        std::mt19937 random(std::random_device {}());
        // Long enough for many saves, short enough to land at every point of one.
        std::uniform_int_distribution<int> delayUs(0, 15000);
        QList<int> seen(versions.size(), 0);
        int tempsLeft = 0;
        for (int kill = 0; kill < kKills; ++kill) {
            QProcess child;
            child.start(QStringLiteral(SAVECHILD_PATH), {mode, dir.path()});
            QVERIFY2(child.waitForReadyRead(5000), qPrintable(child.errorString()));
            QCOMPARE(child.readLine(), QByteArray("ready\n"));
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
            child.kill();
            QVERIFY(child.waitForFinished(5000));
            // Killed while saving, not stopped by a failed save.
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            const QByteArray now = bytesOf(dir.filePath(file));
            const qsizetype version = versions.indexOf(now);
            QVERIFY2(
                version >= 0, qPrintable(u"after kill %1: %2"_s.arg(kill).arg(QString::fromLatin1(now.toHex(' ')))));
            ++seen[version];
            if (QFile::exists(dir.filePath(temp)))
                ++tempsLeft;
        }
        qInfo("%d kills: %d left the first version, %d the second; %d interrupted a save mid-write (%s left)", kKills,
            seen[0], seen[1], tempsLeft, qPrintable(temp));
        // The kills did land inside saves (how often depends on the machine's speed, sanitizers included).
        QVERIFY(tempsLeft > 0 || (seen[0] > 0 && seen[1] > 0));
    }
};

QTEST_GUILESS_MAIN(TestKillSave)
#include "tst_killsave.moc"
