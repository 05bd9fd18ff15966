#include "apppaths.h"

#include <QCoreApplication>
#include <QDir>

namespace apppaths {

namespace {
QString &overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString AppDir()
{
    QString dir = overrideDir().isEmpty() ? QCoreApplication::applicationDirPath() : overrideDir();
    dir = QDir::fromNativeSeparators(dir);
    if (!dir.endsWith(u'/'))
        dir.append(u'/');
    return dir;
}

void setAppDirOverride(const QString &directory)
{
    overrideDir() = directory;
}

} // namespace apppaths
