#include "apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), isWritableDirectory);
    return decided;
}

void setAppDirOverride(const QString &directory)
{
    overrideDir() = directory;
}

QString chooseAppDir(
    const QString &programDir, const QString &userDataDir, const std::function<bool(const QString &)> &isWritable)
{
    if (isWritable(programDir) || userDataDir.isEmpty() || !QDir().mkpath(userDataDir))
        return withOneSeparator(programDir);
    return withOneSeparator(userDataDir);
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
