// The program when the world misbehaves: the serial device pulled, a radio late, in two bursts, garbled or one byte
// too long (over Qt SerialPort and the emulator's pseudo-terminal); the application directory read-only or the disk
// full while saving, or a program directory that cannot be written; a process killed while it saves.

#include "apppaths.h"
#include "catlink.h"
#include "clicklabel.h"
#include "configdialog.h"
#include "memoryfile.h"
#include "memorygrid.h"
#include "panelfixture.h"
#include "testfiles.h"
#include "testmain.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <fstream>
#include <random>
#include <thread>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using ft847sim::Fault;

namespace {

const QByteArray kSettings = "\"1\",\"300\",\"4800,n,8,2\",\"F6ABC\",\"JN18EU\"\r\n";
const QByteArray kMemories = "\"VHF\",\"145500\",\"FM\",\"R0\"\r\n\"VHF\",\"144300\",\"USB\",\"\"\r\n";
const QByteArray kCatOff = PanelFixture::frame({0, 0, 0, 0, cat::OpCatOff});

// A mount namespace of this process alone, entered before any thread starts (a user namespace needs that): a
// read-only mount made by a test is seen by nobody else and goes with the process.
const bool g_privateMounts = [] {
    const auto put
        = [](const char *path, const std::string &text) { return bool(std::ofstream(path) << text << std::flush); };
    const std::string uid = std::to_string(geteuid()), gid = std::to_string(getegid());
    if (geteuid() == 0 ? unshare(CLONE_NEWNS) != 0
                       : unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !put("/proc/self/setgroups", "deny")
                || !put("/proc/self/uid_map", uid + ' ' + uid + " 1")
                || !put("/proc/self/gid_map", gid + ' ' + gid + " 1"))
        return false;
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}();

// Makes the directory read-only in place, as on a read-only file system (for root too), until `undo` runs; false
// when this system allows no private mount.
bool makeReadOnly(const QString &dir, std::function<void()> *undo)
{
    const QByteArray path = QFile::encodeName(dir);
    struct statvfs fs = {};
    if (!g_privateMounts || statvfs(path, &fs) != 0 || mount(path, path, nullptr, MS_BIND, nullptr) != 0)
        return false;
    *undo = [path] { umount2(path, MNT_DETACH); };
    // A remount must repeat the flags the original mount holds (a user namespace may not drop them); the ST_ bits
    // are the MS_ ones.
    const unsigned long keep
        = fs.f_flag & (ST_NOSUID | ST_NODEV | ST_NOEXEC | ST_NOATIME | ST_NODIRATIME | ST_RELATIME);
    return mount(nullptr, path, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY | keep, nullptr) == 0;
}

// The child of the kill test, until it is killed: replaces setting.ini with two versions in turn, and deletes the
// last entry of datamem.txt and stores it again. Ends with 2 if a save fails.
[[noreturn]] void saveUntilKilled(const QString &dir)
{
    apppaths::setAppDirOverride(dir);
    Settings s {u"1"_s, u"300"_s, u"4800,n,8,2"_s, {}, {}};
    const MemoryEntry last {u"VHF"_s, u"144300"_s, u"USB"_s, {}};
    for (unsigned turn = 0;; ++turn) {
        s.Callsign = turn % 2 ? u"F6ABC"_s : u"F4NEW/P"_s;
        s.Locator = turn % 2 ? u"JN18EU"_s : u"IN88GS"_s;
        if (!s.write() || !memoryfile::Efface_qrg(last.frequency, nullptr) || !memoryfile::Enreg_qrg(last, nullptr))
            _exit(2);
    }
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

    std::unique_ptr<PanelFixture> f;

    // One save through the program's own controls.
    void act(const QString &action)
    {
        Ft847Controls &c = f->c();
        if (action == u"Valider") {
            ConfigDialog config(f->program().settings, nullptr); // as "Configuration" opens it
            config.Text1->setText(u"F4NEW"_s);
            config.Comvalid->click();
        } else if (action == u"Memoriser") {
            c.Combo1->setEditText(u"HF4"_s);
            c.Comb_mem_mode->setEditText(u"LSB"_s);
            c.Text_choix_qrg->setText(u"3650"_s);
            c.Text_choix_observ->setText(u"net"_s);
            c.Com_valid_memo->click();
        } else {
            c.Grid->refresh(); // rows added by the list reach the view in batches
            c.Grid->selectRow(2);
            c.Com_eff->click();
        }
    }

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); } // a write past the size limit fails, as on a full disk
    void init() { f = std::make_unique<PanelFixture>(); }
    void cleanup() { f.reset(); }

    // The line misbehaving. A lost line ends the program as a silent radio does: one port error, the unload (CAT off
    // where the line still carries it), the end, nothing sent after; a vanished device must neither hang the unload
    // on a write that cannot drain nor cut the reply wait short. A late, split or garbled reply is read whole, and
    // the poll goes on sending only BCD, follows the dial once the replies make sense, and switches off cleanly.
    void lineFaults_data() // "pulled": the device vanishes, at once (between polls) or during a late reply
    {
        orvanetest::namedTable<Fault, int, bool>({"fault", "latencyMs", "pulled"},
            {{"one byte too many", Fault::ExtraByte, 0, false}, {"device pulled between polls", Fault::None, 0, true},
                {"device pulled during a reply wait", Fault::None, 400, true},
                {"500 ms turnaround", Fault::None, 500, false}, {"reply in two bursts", Fault::SplitReply, 0, false},
                {"garbage", Fault::Garbage, 0, false}});
    }
    void lineFaults()
    {
        QFETCH(Fault, fault);
        QFETCH(int, latencyMs);
        QFETCH(bool, pulled);
        QVERIFY(f->start(4800, {}, PanelFixture::Line::Pty) && f->switchOn() && f->waitForFrames(5));
        ft847sim::Ft847Sim &sim = f->pty();
        sim.setFault(fault);
        sim.setLatencyMs(latencyMs);
        if (pulled || fault == Fault::ExtraByte) {
            // The reply wait does not run the event loop: a pull during it comes from another thread.
            std::jthread puller([&sim, late = pulled && latencyMs > 0, seen = sim.frames().size()] {
                if (late && sim.waitForFrames(seen + 1, 5s)) {
                    std::this_thread::sleep_for(100ms);
                    sim.hangUp();
                }
            });
            if (pulled && latencyMs == 0)
                sim.hangUp();
            QVERIFY(PanelFixture::waitFor([&] { return !f->programEnds.isEmpty(); }, 20s));
            QCOMPARE(f->programEnds, QList<int> {EXIT_FAILURE});
            QCOMPARE(f->messages.value(0).text, u"Erreur: Le port est invalide ou occupé."_s);
            QVERIFY(!f->program().port.portOpen() && !f->c().Timer1->isActive() && f->program().window.isHidden());
            QCOMPARE(f->program().link.WaitCount, CatLink::kWaitLimit);
            QVERIFY(pulled || f->waitForLastFrame(kCatOff));
            QVERIFY(!f->waitForFrames(f->frames().size() + 1, 500ms));
            QCOMPARE(f->messages.size(), 1);
            return;
        }
        f->c().Timer1->stop();
        sim.setFrequency(43342500);
        sim.setMode(0x88);
        CatLink &link = f->program().link;
        link.Efface_Param();
        link.Envoi_Cmd(cat::OpReadFrequencyMode);
        QVERIFY(link.Lit_Reponse(5) && link.CatReply.size() == 5 && link.WaitCount == 0);
        QCOMPARE(link.CatReply == PanelFixture::frame({0x43, 0x34, 0x25, 0x00, 0x88}), fault != Fault::Garbage);

        f->c().Timer1->start();
        QVERIFY(f->waitForFrames(f->frames().size() + 10, 20s));
        for (const QByteArray &frame : f->frames())
            QVERIFY2(frame.at(4) != cat::OpSetFrequency || cat::isBcdFrequency(frame), frame.toHex(' ').constData());
        sim.setFault(fault == Fault::Garbage ? Fault::None : fault);
        sim.setFrequency(14420000);
        QVERIFY(PanelFixture::waitFor(
            [&] { return f->shownDigits() == u"14420000"_s && f->c().L_mode->text() == u"FM(N)"_s; }, 15s));
        QCOMPARE(f->program().frequency.CurrentFreq(), u"14420000"_s);
        f->c().Lab_c_off->click();
        QVERIFY(f->waitForLastFrame(kCatOff, 5s));
        QVERIFY(!f->program().port.portOpen() && f->messages.isEmpty() && f->programEnds.isEmpty());
    }

    // An adapter whose transmitter hangs: a request, the poll's or a click's, never leaves the port. The send gives
    // up within the bound of a missing reply with the port error, once, and the program ends without waiting on a
    // line that cannot drain.
    void stalledAdapter_data()
    {
        orvanetest::namedTable<bool>({"click"}, {{"the poll's request", false}, {"a band button's", true}});
    }
    void stalledAdapter()
    {
        QFETCH(bool, click);
        QVERIFY(f->start(4800) && f->switchOn() && f->waitForFrames(5));
        // The poll held first, so that only the click sends: a tick under way starts its timer again at its end.
        if (click)
            QVERIFY(PanelFixture::waitFor(
                [&] {
                    f->c().Timer1->stop();
                    QTest::qWait(100);
                    return !f->c().Timer1->isActive() && f->program().road.isFree();
                },
                3s));
        f->uart().setStalled(true);
        if (click)
            f->c().Com_14->click();
        QVERIFY(PanelFixture::waitFor([&] { return !f->programEnds.isEmpty(); }, 10s));
        QCOMPARE(f->programEnds, QList<int> {EXIT_FAILURE});
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages.value(0).text, u"Erreur: Le port est invalide ou occupé."_s);
    }

    // Where the files live: beside a copy run from a directory it can write (a build, a portable folder), else in
    // the user's data directory, where the first start copies the files found beside the program, never over the
    // user's own. Run from the build directory, the decided directory is the program's. Columns: the program's
    // directory ("prog", or "sys" a system directory, both holding the files); what the probe answers (-1 asks the
    // kernel, -2 after a read-only mount); the user's directory (none, "blocked" by a file, or with this file); the
    // directory chosen; whether the files were copied.
    void programDirectory_data()
    {
        orvanetest::namedTable<QString, int, QString, QString, bool>(
            {"program", "writable", "user", "chosen", "copied"},
            {{"portable copy", u"prog"_s, -1, QString(), u"prog"_s, false},
                {"read-only directory", u"prog"_s, -2, QString(), u"user"_s, true},
                {"no such directory", u"missing"_s, -1, QString(), u"user"_s, false},
                {"portable copy at the root", u"/"_s, 1, QString(), u"/"_s, false},
                {"no user directory either", u"prog"_s, 0, u"blocked"_s, u"prog"_s, false},
                {"system directory, as root", u"sys"_s, 1, QString(), u"user"_s, true},
                {"user directory with links only", u"prog"_s, 0, u"com1"_s, u"user"_s, true},
                {"the user's own file kept", u"prog"_s, 0, u"setting.ini"_s, u"user"_s, false}});
    }
    void programDirectory()
    {
        QFETCH(QString, program);
        QFETCH(int, writable);
        QFETCH(QString, user);
        QFETCH(QString, chosen);
        QFETCH(bool, copied);
        QCOMPARE(apppaths::AppDir(), QCoreApplication::applicationDirPath() + u'/');
        QTemporaryDir dir;
        const QString userDir = dir.filePath(u"user"_s);
        for (const QString &d : {dir.filePath(u"prog/"_s), dir.filePath(u"sys/"_s)})
            QVERIFY(QDir().mkpath(d) && testfiles::write(d + u"setting.ini"_s, kSettings)
                && testfiles::write(d + u"datamem.txt"_s, kMemories));
        if (!user.isEmpty())
            QVERIFY(user == u"blocked" ? testfiles::write(userDir, {})
                                       : QDir().mkpath(userDir) && testfiles::write(userDir + u'/' + user, "mine"));
        std::function<void()> undo = [] {};
        const auto undoAtEnd = qScopeGuard([&] { undo(); });
        if (writable == -2 && !makeReadOnly(dir.filePath(program), &undo))
            QSKIP("no private read-only mount here (needs root or user namespaces)");
        const auto probe
            = [=](const QString &d) { return writable < 0 ? apppaths::isWritableDirectory(d) : writable == 1; };
        const QString found = apppaths::chooseAppDir(
            QDir(dir.path()).filePath(program), userDir, probe, {u"/usr/bin"_s, dir.filePath(u"sys"_s)});
        QCOMPARE(found, chosen == u"/" ? chosen : dir.filePath(chosen) + u'/');
        QCOMPARE(QFileInfo(userDir).isDir(), chosen == u"user"); // made only when used
        const QByteArray kept = user == u"setting.ini" ? "mine" : "<missing>";
        QCOMPARE(testfiles::read(userDir + u"/setting.ini"_s), copied ? kSettings : kept);
        QCOMPARE(testfiles::read(userDir + u"/datamem.txt"_s), copied ? kMemories : QByteArray("<missing>"));
    }

    // A save the disk does not take: one message in the program's own French, the old file byte for byte, no
    // temporary file left, the panel still showing the file and the typed values; and the save lands once it can.
    void saveThatCannotLand_data()
    {
        QTest::addColumn<bool>("readOnly"); // else the disk is full (a file-size limit)
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("saved"); // the file once the disk takes it
        for (const bool readOnly : {true, false}) {
            const char *cause = readOnly ? "read-only" : "disk full";
            QTest::addRow("%s, Valider", cause)
                << readOnly << u"Valider"_s << u"Erreur : la configuration n'a pas pu être enregistrée"_s
                << QByteArray(kSettings).replace("F6ABC", "F4NEW");
            QTest::addRow("%s, Memoriser", cause)
                << readOnly << u"Memoriser"_s << u"Erreur : La mémoire n'a pas pu être enregistrée"_s
                << kMemories + "\"HF4\",\"3650\",\"LSB\",\"net\"\r\n";
            QTest::addRow("%s, Supprimer", cause)
                << readOnly << u"Supprimer"_s << u"Erreur : La mémoire n'a pas pu être supprimée"_s
                << kMemories.left(kMemories.indexOf('\n') + 1);
        }
    }
    void saveThatCannotLand()
    {
        QFETCH(bool, readOnly);
        QFETCH(QString, action);
        QFETCH(QString, failure);
        QFETCH(QByteArray, saved);
        const QString file = action == u"Valider" ? u"setting.ini"_s : u"datamem.txt"_s;
        QVERIFY(testfiles::write(f->dirPath(u"datamem.txt"_s), kMemories));
        QVERIFY(f->start(4800, kSettings.chopped(2)) && f->switchOn());
        f->c().Lab_mem->click();
        const QByteArray before = testfiles::read(f->dirPath(file));
        {
            std::function<void()> undo = [] {};
            rlimit unlimited {};
            getrlimit(RLIMIT_FSIZE, &unlimited);
            const auto restore = qScopeGuard([&] {
                undo();
                setrlimit(RLIMIT_FSIZE, &unlimited);
            });
            // A full disk: room for a few bytes only, the replacement (or the appended line) cut short.
            rlimit full = {rlim_t(action == u"Memoriser" ? before.size() + 8 : 16), unlimited.rlim_max};
            if (readOnly ? !makeReadOnly(f->dirPath(), &undo) : setrlimit(RLIMIT_FSIZE, &full) != 0)
                QSKIP("no private read-only mount here (needs root or user namespaces)");
            act(action);
        }
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].icon, ui::MsgIcon::Error);
        const QString cause = readOnly ? u" (disque en lecture seule)."_s : u" (fichier trop volumineux)."_s;
        QVERIFY2(f->messages[0].text.startsWith(failure + cause), qPrintable(f->messages[0].text));
        QCOMPARE(testfiles::read(f->dirPath(file)), before);
        QCOMPARE(QDir(f->dirPath()).entryList({u"*.tmp"_s}), QStringList());
        QCOMPARE(f->c().Grid->rows(), 3);
        QCOMPARE(f->c().Grid->textMatrix(2, 1), u"144300"_s);
        QCOMPARE(f->program().settings.Callsign, u"F6ABC"_s);
        QVERIFY(action != u"Memoriser" || f->c().Text_choix_qrg->text() == u"3650"_s);

        QVERIFY(f->waitForFrames(f->frames().size() + 4)); // still polling
        act(action);
        QCOMPARE(testfiles::read(f->dirPath(file)), saved);
        QCOMPARE(f->messages.size(), action == u"Valider" ? 2 : 1);
    }

    // A save cut by the process being killed (a crash, a power cut): a child saves both files in turn, over and
    // over, and is killed at a random moment, 250 times; each time each file is whole, its old version or its new
    // one. The seed of the moments is printed: ORVANE_KILL_SEED=<seed> replays them.
    void killedSave()
    {
        const QByteArray memories = "\"VHF\",\"145500\",\"FM\",\"R\xe9seau\"\r\n";
        const QMap<QString, QByteArrayList> versions = {// the first is there before the first save
            {u"setting.ini"_s, {kSettings, QByteArray(kSettings).replace("F6ABC\",\"JN18EU", "F4NEW/P\",\"IN88GS")}},
            {u"datamem.txt"_s, {memories + "\"VHF\",\"144300\",\"USB\",\"\"\r\n", memories}}};
        QTemporaryDir dir;
        for (const auto &[file, both] : versions.asKeyValueRange())
            QVERIFY(testfiles::write(dir.filePath(file), both[0]));
        const quint32 seed = qEnvironmentVariableIsSet("ORVANE_KILL_SEED")
            ? qEnvironmentVariable("ORVANE_KILL_SEED").toUInt()
            : std::random_device {}();
        qInfo("kill seed %u", seed);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> delayUs(0, 15000); // many saves long, and lands at every point of one
        QSet<QByteArray> seen;
        int tempsLeft = 0;
        for (int kill = 0; kill < 250; ++kill) {
            const pid_t child = fork();
            if (child == 0)
                saveUntilKilled(dir.path());
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
            int status = 0;
            QVERIFY(::kill(child, SIGKILL) == 0 && waitpid(child, &status, 0) == child);
            QVERIFY2(WIFSIGNALED(status), "a save failed");
            for (const auto &[file, both] : versions.asKeyValueRange()) {
                const QByteArray now = testfiles::read(dir.filePath(file));
                QVERIFY2(
                    both.contains(now), qPrintable(u"kill %1: "_s.arg(kill) + QString::fromLatin1(now.toHex(' '))));
                seen.insert(now);
            }
            tempsLeft += QDir(dir.path()).entryList({u"*.tmp"_s}).size();
        }
        qInfo("%lld versions seen, %d temporary files left by a kill mid-write", seen.size(), tempsLeft);
        QVERIFY(tempsLeft > 0 || seen.size() == 4); // the kills did land inside saves
    }
};

ORVANE_TEST_MAIN(TestFaults)
#include "tst_faults.moc"
