// Saves as fast as it can until it is killed, for the kill test: "settings DIR" replaces setting.ini with two
// versions in turn; "memories DIR" deletes the last entry of datamem.txt and stores it again, over and over.
// Prints "ready" once it starts saving; exits with 2 if a save fails.

#include "apppaths.h"
#include "memoryfile.h"
#include "settings.h"

#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 1;
    apppaths::setAppDirOverride(QString::fromLocal8Bit(argv[2]));
    const bool settings = std::strcmp(argv[1], "settings") == 0;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    Settings s;
    s.PortNumber = QStringLiteral("1");
    s.FlowDelay = QStringLiteral("300");
    s.PortSettings = QStringLiteral("4800,n,8,2");
    const MemoryEntry last {QStringLiteral("VHF"), QStringLiteral("144300"), QStringLiteral("USB"), QString()};
    for (unsigned turn = 0;; ++turn) {
        bool saved = false;
        if (settings) {
            s.Callsign = turn % 2 ? QStringLiteral("F6ABC") : QStringLiteral("F4NEW/P");
            s.Locator = turn % 2 ? QStringLiteral("JN18EU") : QStringLiteral("IN88GS");
            saved = s.write();
        } else {
            saved = memoryfile::Efface_qrg(last.frequency, nullptr) && memoryfile::Enreg_qrg(last, nullptr);
        }
        if (!saved)
            return 2;
    }
}
