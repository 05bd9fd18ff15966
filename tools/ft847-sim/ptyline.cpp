#include "ptyline.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace ft847sim {

namespace {

QString errnoText(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
}

bool makeRaw(int fd)
{
    termios tio;
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

bool PtyLine::open(const QString &linkPath, QString *error)
{
    close();
    auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        close();
        return false;
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail(errnoText("posix_openpt"));
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return fail(errnoText("unlockpt"));
    char name[128];
    if (ptsname_r(m_master, name, sizeof name) != 0)
        return fail(errnoText("ptsname_r"));
    m_slavePath = QFile::decodeName(name);
    // Our own slave descriptor keeps the line up between clients: without it the master reads EIO.
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        return fail(errnoText("open pty slave"));
    if (!makeRaw(m_master) || !makeRaw(m_slave))
        return fail(errnoText("tcsetattr"));

    if (linkPath.isEmpty())
        return true;
    const QByteArray link = QFile::encodeName(linkPath);
    struct stat info;
    if (::lstat(link.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return fail(QStringLiteral("%1 is a directory").arg(linkPath));
        if (::unlink(link.constData()) != 0)
            return fail(errnoText("unlink old link"));
    }
    if (::symlink(name, link.constData()) != 0)
        return fail(errnoText("symlink"));
    m_link = linkPath;
    return true;
}

void PtyLine::hangUp()
{
    closeFd(m_slave);
    closeFd(m_master);
}

void PtyLine::close()
{
    hangUp();
    if (m_link.isEmpty())
        return;
    // Only our own link: someone may have pointed the path elsewhere meanwhile.
    const QByteArray path = QFile::encodeName(m_link);
    char target[4096];
    const ssize_t n = ::readlink(path.constData(), target, sizeof target - 1);
    if (n > 0 && QByteArray(target, n) == QFile::encodeName(m_slavePath))
        ::unlink(path.constData());
    m_link.clear();
}

} // namespace ft847sim
