#include "apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace apppaths {

namespace {

QString &overrideDir()
{
    static QString dir;
    return dir;
}

const QString kSettingsFile = QStringLiteral("setting.ini");
const QString kMemoryFile = QStringLiteral("datamem.txt");

// Compared as the file system resolves them: /bin and /usr/bin are one directory on most systems.
bool sameDirectory(const QString &a, const QString &b)
{
    const auto resolved = [](const QString &dir) {
        const QFileInfo info(dir);
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    };
    return resolved(a) == resolved(b);
}

QString withOneSeparator(const QString &directory)
{
    QString dir = QDir::fromNativeSeparators(directory);
    if (!dir.endsWith(u'/'))
        dir.append(u'/');
    return dir;
}

} // namespace

QString AppDir()
{
    if (!overrideDir().isEmpty())
        return withOneSeparator(overrideDir());
    static const QString decided = chooseAppDir(QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), isWritableDirectory, systemProgramDirs());
    return decided;
}

void setAppDirOverride(const QString &directory)
{
    overrideDir() = directory;
}

QString chooseAppDir(const QString &programDir, const QString &userDataDir,
    const std::function<bool(const QString &)> &isWritable, const QStringList &systemDirs)
{
    const bool installed = std::any_of(
        systemDirs.begin(), systemDirs.end(), [&](const QString &dir) { return sameDirectory(dir, programDir); });
    if ((!installed && isWritable(programDir)) || userDataDir.isEmpty() || !QDir().mkpath(userDataDir))
        return withOneSeparator(programDir);
    const QDir user(userDataDir);
    if (!user.exists(kSettingsFile) && !user.exists(kMemoryFile)) {
        // Files the operator put beside the program, or an earlier copy kept there, are not left behind. A file
        // that cannot be copied is simply missing there, as on a first start.
        const QDir program(programDir);
        for (const QString &name : {kSettingsFile, kMemoryFile}) {
            if (!program.exists(name) || !QFile::copy(program.filePath(name), user.filePath(name)))
                continue;
            QFile copied(user.filePath(name));
            copied.setPermissions(copied.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    }
    return withOneSeparator(userDataDir);
}

QStringList systemProgramDirs()
{
    return {QStringLiteral(ORVANE_INSTALL_BINDIR), QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin"),
        QStringLiteral("/bin"), QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"), QStringLiteral("/sbin"),
        QStringLiteral("/usr/games"), QStringLiteral("/usr/local/games")};
}

bool isWritableDirectory(const QString &directory)
{
    const QFileInfo info(directory);
    if (!info.isDir())
        return false;
#ifdef Q_OS_UNIX
    // access() asks the kernel, which also knows about read-only mounts and immutable directories.
    return ::access(QFile::encodeName(info.absoluteFilePath()).constData(), W_OK | X_OK) == 0;
#else
    return info.isWritable();
#endif
}

} // namespace apppaths
