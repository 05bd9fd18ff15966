// Saving when the disk will not take it: the application directory read-only, or the disk full (a file-size
// limit), during "Valider", "Memoriser" and "Supprimer" in the whole program. Each time: one error message, the old
// file byte for byte, no temporary file left behind, and the same action succeeding once the disk takes it again.
// And a program directory that cannot be written at start-up (an installed copy): the files go to the user's data
// directory instead.

#include "apppaths.h"
#include "clicklabel.h"
#include "configdialog.h"
#include "dialogs.h"
#include "memorygrid.h"
#include "panelfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <csignal>
#include <fstream>
#include <optional>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QByteArray kSettings = "\"1\",\"300\",\"4800,n,8,2\",\"F6ABC\",\"JN18EU\"";
const QByteArray kMemories = "\"VHF\",\"145500\",\"FM\",\"Relais R0\"\r\n"
                             "\"VHF\",\"144300\",\"USB\",\"\"\r\n"
                             "\"VHF\",\"145600\",\"FM\",\"\"\r\n";

bool writeText(const char *path, const std::string &text)
{
    std::ofstream out(path);
    out << text;
    return bool(out.flush());
}

// A mount namespace of this process alone, so that a read-only mount made by the test is seen by nobody else and
// vanishes with the process. Must run before any thread starts (a user namespace requires it).
bool enterPrivateMounts()
{
    if (geteuid() != 0) {
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        // Keep our own ids inside, so the files the test makes stay ours.
        if (!writeText("/proc/self/setgroups", "deny")
            || !writeText("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1")
            || !writeText("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1"))
            return false;
    } else if (unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool g_privateMounts = false;

// The directory made read-only in place, as a read-only file system would be: no file in it can be created,
// replaced, renamed or appended to, whoever asks (root included).
class ReadOnlyDirectory
{
public:
    explicit ReadOnlyDirectory(const QString &path)
        : m_path(QFile::encodeName(path))
    {
        struct statvfs fs
        {
        };
        if (!g_privateMounts || statvfs(m_path.constData(), &fs) != 0)
            return;
        if (mount(m_path.constData(), m_path.constData(), nullptr, MS_BIND, nullptr) != 0)
            return;
        // A remount must repeat the flags the original mount holds (a user namespace may not drop them).
        unsigned long keep = 0;
        for (const auto &[st, ms] : {std::pair {ST_NOSUID, MS_NOSUID}, {ST_NODEV, MS_NODEV}, {ST_NOEXEC, MS_NOEXEC},
                 {ST_NOATIME, MS_NOATIME}, {ST_NODIRATIME, MS_NODIRATIME}, {ST_RELATIME, MS_RELATIME}}) {
            if (fs.f_flag & st)
                keep |= ms;
        }
        m_active = mount(nullptr, m_path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY | keep, nullptr) == 0;
        if (!m_active)
            umount2(m_path.constData(), MNT_DETACH);
    }
    ~ReadOnlyDirectory()
    {
        if (m_active)
            umount2(m_path.constData(), MNT_DETACH);
    }
    bool isActive() const { return m_active; }

private:
    QByteArray m_path;
    bool m_active = false;
};

// A full disk as a process meets it: a write past the limit fails (EFBIG) instead of killing the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool isActive() const { return m_active; }

private:
    rlimit m_saved {};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestFileFaults : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PanelFixture> f;

    // Runs one save through the program's own controls.
    void act(const QString &action)
    {
        Ft847Controls &c = f->c();
        if (action == u"Valider") {
            ui::setModalHandler([](QDialog &dialog) {
                auto *config = qobject_cast<ConfigDialog *>(&dialog);
                if (!config)
                    return int(QDialog::Rejected);
                QTest::mouseClick(config->Option_com2, Qt::LeftButton);
                config->Text1->clear();
                QTest::keyClicks(config->Text1, u"f4new"_s);
                QTest::mouseClick(config->Comvalid, Qt::LeftButton);
                if (config->result() != QDialog::Accepted)
                    config->reject();
                return config->result();
            });
            c.LabConf->click();
        } else if (action == u"Memoriser") {
            c.Combo1->setEditText(u"HF4"_s);
            c.Comb_mem_mode->setEditText(u"LSB"_s);
            c.Text_choix_qrg->setText(u"3650"_s);
            c.Text_choix_observ->setText(u"net"_s);
            c.Com_valid_memo->click();
        } else {
            c.Grid->refresh(); // rows added by the list reach the view in batches
            c.Grid->selectRow(2);
            QCOMPARE(f->program().memory.SelectedFreq, u"144300"_s);
            c.Com_eff->click();
        }
    }

private slots:
    void cleanup() { f.reset(); }

    void programDirectoryDecidesWhereFilesLive_data()
    {
        QTest::addColumn<QString>("program"); // inside the temporary directory, or absolute
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<int>("writable"); // what the probe answers: -1 asks the kernel
        QTest::addColumn<bool>("installed"); // the program's directory is one a system installation uses
        QTest::addColumn<QString>("userDir"); // before the start: "none", "blocked" (a file stands there),
                                              // "links" (com1 only), "own" (a setting.ini of the user's)
        QTest::addColumn<QString>("expected"); // "program", "user", or the exact path
        QTest::addColumn<bool>("copied"); // the files beside the program reach the user's directory
        QTest::newRow("portable copy") << u"prog"_s << false << -1 << false << u"none"_s << u"program"_s << false;
        QTest::newRow("installed: read-only directory")
            << u"prog"_s << true << -1 << false << u"none"_s << u"user"_s << true;
        QTest::newRow("installed: no such directory")
            << u"missing"_s << false << -1 << false << u"none"_s << u"user"_s << false;
        QTest::newRow("portable copy at the root") << u"/"_s << false << 1 << false << u"none"_s << u"/"_s << false;
        QTest::newRow("no user directory either")
            << u"prog"_s << false << 0 << false << u"blocked"_s << u"program"_s << false;
        QTest::newRow("installed in a system directory, run as root")
            << u"prog"_s << false << 1 << true << u"none"_s << u"user"_s << true;
        QTest::newRow("user directory holding its links only")
            << u"prog"_s << false << 0 << false << u"links"_s << u"user"_s << true;
        QTest::newRow("the user's own file is never replaced")
            << u"prog"_s << false << 0 << false << u"own"_s << u"user"_s << false;
    }
    void programDirectoryDecidesWhereFilesLive()
    {
        QFETCH(QString, program);
        QFETCH(bool, readOnly);
        QFETCH(int, writable);
        QFETCH(bool, installed);
        QFETCH(QString, userDir);
        QFETCH(QString, expected);
        QFETCH(bool, copied);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString programDir = program.startsWith(u'/') ? program : dir.filePath(program);
        const QString besideProgram = dir.filePath(u"prog"_s);
        QVERIFY(QDir().mkpath(besideProgram));
        const QByteArray settings = kSettings + "\r\n";
        for (const auto &[name, bytes] : {std::pair {"setting.ini", settings}, {"datamem.txt", kMemories}}) {
            QFile file(besideProgram + u'/' + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        const QString user = dir.filePath(u"home/.local/share/Orvane"_s);
        if (userDir == u"blocked") {
            QFile blocker(dir.filePath(u"home"_s));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else if (userDir != u"none") {
            QVERIFY(QDir().mkpath(user));
            QFile file(user + (userDir == u"links" ? u"/com1"_s : u"/setting.ini"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("mine") == 4);
        }
        std::optional<ReadOnlyDirectory> readOnlyMount;
        if (readOnly) {
            readOnlyMount.emplace(programDir);
            if (!readOnlyMount->isActive())
                QSKIP("no private read-only mount here (needs root or user namespaces)");
        }
        const auto probe
            = [writable](const QString &d) { return writable < 0 ? apppaths::isWritableDirectory(d) : writable == 1; };
        const QStringList systemDirs {u"/usr/bin"_s, installed ? programDir : dir.filePath(u"usr/bin"_s)};
        const QString chosen = apppaths::chooseAppDir(programDir, user, probe, systemDirs);
        if (expected == u"program")
            QCOMPARE(chosen, programDir + u'/');
        else if (expected == u"user")
            QCOMPARE(chosen, user + u'/');
        else
            QCOMPARE(chosen, expected);
        // The user's directory is made only when it is used.
        QCOMPARE(QFileInfo(user).isDir(), expected == u"user");
        const QByteArray kept = userDir == u"own" ? QByteArray("mine") : QByteArray("<missing>");
        QCOMPARE(bytesOf(user + u"/setting.ini"_s), copied ? settings : kept);
        QCOMPARE(bytesOf(user + u"/datamem.txt"_s), copied ? kMemories : QByteArray("<missing>"));
    }

    void decidedOnceAndOverriddenByTests()
    {
        // This test runs from the build directory, which can be written: a portable copy.
        const QString decided = apppaths::AppDir();
        QCOMPARE(decided, QCoreApplication::applicationDirPath() + u'/');
        QTemporaryDir dir;
        apppaths::setAppDirOverride(dir.path());
        QCOMPARE(apppaths::AppDir(), dir.path() + u'/');
        apppaths::setAppDirOverride({});
        QCOMPARE(apppaths::AppDir(), decided);
    }

    void saveThatCannotLandKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("temp");
        QTest::addColumn<QString>("failure"); // the message, before the cause in brackets
        QTest::addColumn<QByteArray>("saved"); // the file once the disk takes it again
        const QString settingsFailure = u"Erreur : la configuration n'a pas pu être enregistrée"_s;
        const QString memoriserFailure = u"Erreur : La mémoire n'a pas pu être enregistrée"_s;
        const QString supprimerFailure = u"Erreur : La mémoire n'a pas pu être supprimée"_s;
        const QByteArray newSettings = "\"2\",\"300\",\"4800,n,8,2\",\"F4NEW\",\"JN18EU\"\r\n";
        const QByteArray appended = kMemories + "\"HF4\",\"3650\",\"LSB\",\"net\"\r\n";
        const QByteArray deleted = "\"VHF\",\"145500\",\"FM\",\"Relais R0\"\r\n\"VHF\",\"145600\",\"FM\",\"\"\r\n";
        for (const QString &cause : {u"read-only directory"_s, u"disk full"_s}) {
            QTest::addRow("%s, Valider", qPrintable(cause))
                << cause << u"Valider"_s << u"setting.ini"_s << u"Data.tmp"_s << settingsFailure << newSettings;
            QTest::addRow("%s, Memoriser", qPrintable(cause))
                << cause << u"Memoriser"_s << u"datamem.txt"_s << QString() << memoriserFailure << appended;
            QTest::addRow("%s, Supprimer", qPrintable(cause))
                << cause << u"Supprimer"_s << u"datamem.txt"_s << u"DATAqS.tmp"_s << supprimerFailure << deleted;
        }
    }
    void saveThatCannotLandKeepsTheOldFile()
    {
        QFETCH(QString, cause);
        QFETCH(QString, action);
        QFETCH(QString, file);
        QFETCH(QString, temp);
        QFETCH(QString, failure);
        QFETCH(QByteArray, saved);
        f = std::make_unique<PanelFixture>();
        {
            QFile memories(f->dirPath(u"datamem.txt"_s));
            QVERIFY(memories.open(QIODevice::WriteOnly));
            memories.write(kMemories);
        }
        QVERIFY(f->start(4800, kSettings));
        QVERIFY(f->switchOn());
        f->c().Lab_mem->click();
        QCOMPARE(f->c().Grid->rows(), 4);
        const QString path = f->dirPath(file);
        const QByteArray before = bytesOf(path);
        const QStringList gridBefore = {f->c().Grid->textMatrix(2, 1), f->c().Grid->textMatrix(3, 1)};

        if (cause == u"read-only directory") {
            ReadOnlyDirectory readOnly(f->dirPath());
            if (!readOnly.isActive())
                QSKIP("no private read-only mount here (needs root or user namespaces)");
            act(action);
        } else {
            // Room for a few bytes only: the replacement (or the appended line) is cut short by the limit.
            FileSizeLimit full(action == u"Memoriser" ? before.size() + 8 : 16);
            QVERIFY(full.isActive());
            act(action);
        }
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].icon, ui::MsgIcon::Error);
        QVERIFY2(f->messages[0].text.startsWith(failure), qPrintable(f->messages[0].text));
        // The cause in the program's own words, not the system's English (a file-size limit fails with EFBIG).
        const QString said
            = cause == u"read-only directory" ? u"disque en lecture seule"_s : u"fichier trop volumineux"_s;
        QVERIFY2(f->messages[0].text.contains(u" ("_s + said + u")."_s), qPrintable(f->messages[0].text));
        QCOMPARE(bytesOf(path), before);
        if (!temp.isEmpty())
            QVERIFY(!QFile::exists(f->dirPath(temp)));
        // What the operator sees still matches the file: the same rows, the typed values kept.
        QCOMPARE(f->c().Grid->rows(), 4);
        QCOMPARE((QStringList {f->c().Grid->textMatrix(2, 1), f->c().Grid->textMatrix(3, 1)}), gridBefore);
        QCOMPARE(f->program().settings.Callsign, u"F6ABC"_s);
        if (action == u"Memoriser")
            QCOMPARE(f->c().Text_choix_qrg->text(), u"3650"_s);

        // The program is still working: the radio is polled, and the same save lands once the disk takes it.
        const std::size_t frames = f->frames().size();
        QVERIFY(f->waitForFrames(frames + 4));
        act(action);
        QCOMPARE(bytesOf(path), saved);
        QCOMPARE(f->messages.size(), action == u"Valider" ? 2 : 1);
    }
};

int main(int argc, char *argv[])
{
    g_privateMounts = enterPrivateMounts();
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestFileFaults test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filefaults.moc"
