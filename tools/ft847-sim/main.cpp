// ft847-sim: an FT-847 on a pseudo-terminal, driven by commands on standard input.

#include "ft847sim.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <array>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <string>

#include <csignal>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

using namespace ft847sim;
using Clock = std::chrono::steady_clock;

namespace {

struct ModeName
{
    const char *name;
    quint8 code;
};

constexpr std::array<ModeName, 10> modeNames {{
    {"LSB", 0x00},
    {"USB", 0x01},
    {"CW", 0x02},
    {"CWR", 0x03},
    {"AM", 0x04},
    {"FM", 0x08},
    {"CWN", 0x82},
    {"CWRN", 0x83},
    {"AMN", 0x84},
    {"FMN", 0x88},
}};

QString modeName(quint8 code)
{
    for (const auto &mode : modeNames) {
        if (mode.code == code)
            return QLatin1String(mode.name);
    }
    return QStringLiteral("?%1").arg(code, 2, 16, QLatin1Char('0'));
}

QString shiftName(quint8 code)
{
    switch (code) {
    case 0x89:
        return QStringLiteral("simplex");
    case 0x09:
        return QStringLiteral("minus");
    case 0x49:
        return QStringLiteral("plus");
    default:
        return QStringLiteral("?%1").arg(code, 2, 16, QLatin1Char('0'));
    }
}

QString describeFrame(const QByteArray &frame)
{
    const auto p1 = static_cast<quint8>(frame.at(0));
    const auto op = static_cast<quint8>(frame.at(4));
    if (op == 0x4E || op == 0x8E)
        return op == 0x4E ? QStringLiteral("satellite on") : QStringLiteral("satellite off");
    if ((op & 0xF0) == 0x10 || (op & 0xF0) == 0x20) {
        const QString vfo = (op & 0xF0) == 0x10 ? QStringLiteral("SAT RX") : QStringLiteral("SAT TX");
        quint32 tenHz = 0;
        if ((op & 0x0F) == 0x01 && Ft847Model::fromBcd(frame.left(4), &tenHz))
            return QStringLiteral("set %1 frequency %2").arg(vfo).arg(tenHz, 8, 10, QLatin1Char('0'));
        if ((op & 0x0F) == 0x03)
            return QStringLiteral("read %1 frequency and mode").arg(vfo);
        if ((op & 0x0F) == 0x07)
            return QStringLiteral("set %1 mode %2").arg(vfo, modeName(p1));
    }
    switch (op) {
    case 0x00:
        return QStringLiteral("CAT on");
    case 0x80:
        return QStringLiteral("CAT off");
    case 0x01: {
        quint32 tenHz = 0;
        if (!Ft847Model::fromBcd(frame.left(4), &tenHz))
            return QStringLiteral("set frequency (not BCD, ignored)");
        return QStringLiteral("set frequency %1").arg(tenHz, 8, 10, QLatin1Char('0'));
    }
    case 0x03:
        return QStringLiteral("read frequency and mode");
    case 0x07:
        return QStringLiteral("set mode %1").arg(modeName(p1));
    case 0x09:
        return QStringLiteral("repeater shift %1").arg(shiftName(p1));
    case 0xE7:
        return QStringLiteral("read receiver status");
    case 0xF7:
        return QStringLiteral("read transmitter status");
    case 0x08:
        return QStringLiteral("PTT on");
    case 0x88:
        return QStringLiteral("PTT off");
    default:
        return QStringLiteral("unknown opcode %1").arg(op, 2, 16, QLatin1Char('0'));
    }
}

struct Options
{
    QString link;
    int baud = 4800;
    int latencyMs = 0;
    QString logFile;
    bool quiet = false;
};

void printUsage(FILE *out)
{
    std::fputs("usage: ft847-sim [--link PATH] [--baud N] [--latency-ms N] [--log FILE] [--quiet]\n"
               "  --link PATH      make PATH a symbolic link to the pseudo-terminal\n"
               "  --baud N         line speed used to pace the bytes (default 4800)\n"
               "  --latency-ms N   turnaround before each reply (default 0)\n"
               "  --log FILE       write the frame log to FILE (default: standard error)\n"
               "  --quiet          no frame log on standard error\n"
               "commands on standard input: freq N | mode CODE|NAME | smeter 0..31 | squelch open|closed |\n"
               "  signal N 0..31 (a station at N, 10 Hz units; 0 removes it) | signal clear |\n"
               "  ptt on|off | fault none|silent|extra|garbage|split | latency MS | status | quit\n",
        out);
}

bool parseOptions(int argc, char **argv, Options *options)
{
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == u"--quiet") {
            options->quiet = true;
            continue;
        }
        if (arg == u"--help" || arg == u"-h") {
            printUsage(stdout);
            std::exit(0);
        }
        if (i + 1 >= argc)
            return false;
        const QString value = QString::fromLocal8Bit(argv[++i]);
        bool ok = true;
        if (arg == u"--link")
            options->link = value;
        else if (arg == u"--log")
            options->logFile = value;
        else if (arg == u"--baud")
            options->baud = value.toInt(&ok);
        else if (arg == u"--latency-ms")
            options->latencyMs = value.toInt(&ok);
        else
            return false;
        if (!ok || options->baud <= 0 || options->latencyMs < 0)
            return false;
    }
    return true;
}

// What the operator set; the radio never changes these by itself.
struct Panel
{
    int sMeter = 0;
    bool squelchOpen = false;
};

// "signal N READING" puts a station on the band (READING 0 takes it off), "signal clear" empties the band.
bool setSignal(Ft847Sim &sim, const QStringList &words)
{
    if (words.size() == 2 && words.at(1) == u"clear") {
        sim.clearSignals();
        return true;
    }
    bool frequencyOk = false, readingOk = false;
    const uint tenHz = words.value(1).toUInt(&frequencyOk);
    const int reading = words.value(2).toInt(&readingOk);
    if (words.size() != 3 || !frequencyOk || tenHz > 99999999 || !readingOk || reading < 0 || reading > 31)
        return false;
    sim.setSignal(tenHz, reading);
    return true;
}

QString runCommand(Ft847Sim &sim, Panel &panel, const QString &line, bool *quit)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    const QString command = words.first().toLower();
    const QString arg = words.value(1);
    const QString ok = QStringLiteral("ok");
    auto error = [](const QString &text) { return QStringLiteral("error: %1").arg(text); };
    if (command == u"signal")
        return setSignal(sim, words) ? ok : error(QStringLiteral("signal takes N 0..31 (10 Hz units) or clear"));
    if (words.size() > 2)
        return error(QStringLiteral("too many arguments"));

    if (command == u"freq") {
        bool valid = false;
        const uint tenHz = arg.toUInt(&valid);
        if (!valid || tenHz > 99999999)
            return error(QStringLiteral("freq takes 0..99999999 (10 Hz units)"));
        sim.setFrequency(tenHz);
        return ok;
    }
    if (command == u"mode") {
        for (const auto &mode : modeNames) {
            if (arg.compare(QLatin1String(mode.name), Qt::CaseInsensitive) == 0) {
                sim.setMode(mode.code);
                return ok;
            }
        }
        // Any code is allowed here, so that a client's handling of an unknown mode can be tried.
        bool valid = false;
        QString hex = arg;
        if (hex.startsWith(u"0x", Qt::CaseInsensitive))
            hex = hex.mid(2);
        const uint code = hex.toUInt(&valid, 16);
        if (!valid || code > 0xFF)
            return error(QStringLiteral("mode takes a hex code or LSB|USB|CW|CWR|AM|FM|CWN|CWRN|AMN|FMN"));
        sim.setMode(static_cast<quint8>(code));
        return ok;
    }
    if (command == u"smeter") {
        bool valid = false;
        const int reading = arg.toInt(&valid);
        if (!valid || reading < 0 || reading > 31)
            return error(QStringLiteral("smeter takes 0..31"));
        panel.sMeter = reading;
        sim.setSMeter(reading);
        return ok;
    }
    if (command == u"squelch") {
        if (arg != u"open" && arg != u"closed")
            return error(QStringLiteral("squelch takes open|closed"));
        panel.squelchOpen = arg == u"open";
        sim.setSquelchOpen(panel.squelchOpen);
        return ok;
    }
    if (command == u"ptt") {
        if (arg != u"on" && arg != u"off")
            return error(QStringLiteral("ptt takes on|off"));
        sim.setPtt(arg == u"on");
        return ok;
    }
    if (command == u"fault") {
        if (arg == u"none")
            sim.setFault(Fault::None);
        else if (arg == u"silent")
            sim.setFault(Fault::Silent);
        else if (arg == u"extra")
            sim.setFault(Fault::ExtraByte);
        else if (arg == u"garbage")
            sim.setFault(Fault::Garbage);
        else if (arg == u"split")
            sim.setFault(Fault::SplitReply);
        else
            return error(QStringLiteral("fault takes none|silent|extra|garbage|split"));
        return ok;
    }
    if (command == u"latency") {
        bool valid = false;
        const int ms = arg.toInt(&valid);
        if (!valid || ms < 0)
            return error(QStringLiteral("latency takes milliseconds >= 0"));
        sim.setLatencyMs(ms);
        return ok;
    }
    if (command == u"status" && words.size() == 1) {
        return QStringLiteral("freq %1 mode %2 smeter %3 squelch %4 ptt %5 cat %6 shift %7 satellite %8")
            .arg(sim.frequency(), 8, 10, QLatin1Char('0'))
            .arg(modeName(sim.mode()))
            .arg(panel.sMeter)
            .arg(panel.squelchOpen ? u"open" : u"closed", sim.ptt() ? u"on" : u"off", sim.catOn() ? u"on" : u"off",
                shiftName(sim.repeaterShift()))
            .arg(sim.satellite() ? u"on" : u"off");
    }
    if (command == u"quit" && words.size() == 1) {
        *quit = true;
        return ok;
    }
    return error(QStringLiteral("unknown command '%1'").arg(line.simplified()));
}

void answer(const QString &text)
{
    if (text.isEmpty())
        return;
    std::fputs(text.toLocal8Bit().append('\n').constData(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!parseOptions(argc, argv, &options)) {
        printUsage(stderr);
        return 2;
    }

    FILE *log = options.quiet ? nullptr : stderr;
    if (!options.logFile.isEmpty()) {
        log = std::fopen(QFile::encodeName(options.logFile).constData(), "a");
        if (!log) {
            std::fprintf(stderr, "ft847-sim: cannot open %s: %s\n", qPrintable(options.logFile), strerror(errno));
            return 1;
        }
    }

    // SIGINT and SIGTERM arrive through a descriptor; blocked here, before the serving thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    std::signal(SIGPIPE, SIG_IGN);

    std::mutex logMutex;
    const auto started = Clock::now();
    Ft847Sim sim({options.baud, options.latencyMs, options.link});
    if (log) {
        sim.setTrafficObserver([&](Clock::time_point at, bool received, const QByteArray &bytes) {
            const double seconds = std::chrono::duration<double>(at - started).count();
            QByteArray line = QByteArray::number(seconds, 'f', 6) + (received ? " rx " : " tx ");
            line += bytes.toHex(' ').toUpper();
            if (received)
                line += ' ' + describeFrame(bytes).toUtf8();
            line += '\n';
            std::lock_guard lock(logMutex);
            std::fputs(line.constData(), log);
            std::fflush(log);
        });
    }

    QString error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "ft847-sim: %s\n", qPrintable(error));
        return 1;
    }
    QString banner = QStringLiteral("ft847-sim: listening on %1").arg(sim.slavePath());
    if (!options.link.isEmpty())
        banner += QStringLiteral(" (link %1)").arg(options.link);
    answer(banner + QStringLiteral(", %1 baud").arg(options.baud));

    Panel panel;
    std::string pending;
    bool quit = false;
    // End of input only stops the reading: run in the background with no terminal, it serves until a signal.
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {signalFd, POLLIN, 0}};
    while (!quit) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents & POLLIN)
            break;
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
            char buffer[512];
            const ssize_t n = fds[0].revents & POLLNVAL ? 0 : ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                fds[0].fd = -1;
                if (!pending.empty())
                    answer(runCommand(sim, panel, QString::fromLocal8Bit(pending.c_str()), &quit));
                pending.clear();
                continue;
            }
            pending.append(buffer, std::size_t(n));
            std::size_t end;
            while (!quit && (end = pending.find('\n')) != std::string::npos) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                answer(runCommand(sim, panel, QString::fromLocal8Bit(line.c_str()), &quit));
            }
        }
    }

    sim.stop();
    if (log && log != stderr)
        std::fclose(log);
    return 0;
}
