#include "textfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace textfile {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes the code page leaves unassigned map to
// the C1 controls of the same value, as Windows itself decodes them, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kWindows1252From80 = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

std::optional<char> encodeChar(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kWindows1252From80.size(); ++i) {
        if (kWindows1252From80[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isTrimmed(char c)
{
    return isBlank(c) || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

QStringList parseLine(QByteArrayView line)
{
    // Every field lies between two commas, or a line end: there are no more fields than commas and one.
    QStringList fields(line.count(',') + 1);
    fields.resize(std::min<qsizetype>(readFields(line, fields.data(), int(fields.size())), fields.size()));
    return fields;
}

} // namespace

QString decodeCp1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        text.append(QChar(u >= 0x80 && u < 0xA0 ? kWindows1252From80[u - 0x80] : char16_t(u)));
    }
    return text;
}

std::optional<QByteArray> encodeCp1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const auto b = encodeChar(c.unicode());
        if (!b)
            return std::nullopt;
        bytes.append(*b);
    }
    return bytes;
}

int readFields(QByteArrayView line, QString *fields, int maxFields)
{
    const char *const text = line.data();
    const qsizetype n = line.size();
    if (std::all_of(text, text + n, isTrimmed))
        return 0;
    const auto find
        = [&](char wanted, qsizetype from) { return qsizetype(std::find(text + from, text + n, wanted) - text); };
    int count = 0;
    qsizetype pos = 0;
    while (true) {
        while (pos < n && isBlank(text[pos]))
            ++pos;
        qsizetype start = pos;
        qsizetype end = 0;
        if (pos < n && text[pos] == '"') {
            start = pos + 1;
            end = find('"', start);
            pos = find(',', std::min(end + 1, n));
        } else {
            end = find(',', pos);
            pos = end;
            while (start < end && isTrimmed(text[start]))
                ++start;
            while (end > start && isTrimmed(text[end - 1]))
                --end;
        }
        if (count < maxFields)
            fields[count] = decodeCp1252(QByteArray::fromRawData(text + start, end - start));
        ++count;
        if (pos >= n || count > maxFields)
            return count;
        ++pos; // the comma
    }
}

QByteArrayView takeLine(const QByteArray &bytes, qsizetype &pos)
{
    const qsizetype start = pos;
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0)
        end = bytes.size();
    pos = end + 1;
    qsizetype stop = end;
    if (stop > start && bytes.at(stop - 1) == '\r')
        --stop;
    return QByteArrayView(bytes).sliced(start, stop - start);
}

QList<QStringList> parseRecords(const QByteArray &bytes)
{
    QList<QStringList> records;
    for (qsizetype pos = 0; pos < bytes.size();) {
        QStringList fields = parseLine(takeLine(bytes, pos));
        if (!fields.isEmpty()) // a blank line holds no record
            records.append(std::move(fields));
    }
    return records;
}

bool isWritableField(const QString &field)
{
    for (const QChar c : field) {
        if (c == u'"' || c == u'\r' || c == u'\n' || !encodeChar(c.unicode()))
            return false;
    }
    return true;
}

std::optional<QByteArray> formatRecord(const QStringList &fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (!isWritableField(fields[i]))
            return std::nullopt;
        if (i > 0)
            line.append(',');
        line.append('"').append(*encodeCp1252(fields[i])).append('"');
    }
    line.append("\r\n");
    return line;
}

QString causeText(int errorNumber)
{
    switch (errorNumber) {
    case 0:
        return QStringLiteral("cause inconnue");
    case EACCES:
    case EPERM:
        return QStringLiteral("accès refusé");
    case EROFS:
        return QStringLiteral("disque en lecture seule");
    case ENOSPC:
        return QStringLiteral("disque plein");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("quota disque dépassé");
#endif
    case EFBIG:
        return QStringLiteral("fichier trop volumineux");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("fichier ou dossier introuvable");
    case EISDIR:
        return QStringLiteral("un dossier porte ce nom");
    case EIO:
        return QStringLiteral("erreur de lecture ou d'écriture du disque");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("fichier occupé");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("trop de fichiers ouverts");
    case ENAMETOOLONG:
        return QStringLiteral("nom de fichier trop long");
    case ENOMEM:
        return QStringLiteral("mémoire insuffisante");
    default:
        return QStringLiteral("erreur du système n° %1").arg(errorNumber);
    }
}

QString failureCause(const QFileDevice &file)
{
#ifdef Q_OS_UNIX
    // Qt keeps only the system's English text; the number that says why is still in errno.
    const int errorNumber = errno;
    if (errorNumber != 0)
        return causeText(errorNumber);
#endif
    // Qt itself refuses to open a directory as a file, without a system error.
    if (QFileInfo(file.fileName()).isDir())
        return causeText(EISDIR);
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return causeText(EACCES);
    case QFileDevice::ResourceError:
        return causeText(ENOSPC);
    default:
        return causeText(0);
    }
}

namespace {

bool flushToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

void syncDirectoryOf(const QString &path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path)
#endif
}

} // namespace

bool replaceFile(const QString &tempPath, const QString &finalPath, const QByteArray &content, QString *error)
{
    QFile temp(tempPath);
    errno = 0;
    if (!temp.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error)
            *error = failureCause(temp);
        return false;
    }
    const bool written = temp.write(content) == content.size() && flushToDisk(temp);
    const QString writeError = written ? QString() : failureCause(temp);
    errno = 0;
    temp.close();
    if (!written || temp.error() != QFileDevice::NoError) {
        if (error)
            *error = written ? failureCause(temp) : writeError;
        QFile::remove(tempPath);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(tempPath).toStdString(), QFile::encodeName(finalPath).toStdString(), ec);
    if (ec) {
        if (error)
            *error = causeText(ec.value());
        QFile::remove(tempPath);
        return false;
    }
    syncDirectoryOf(finalPath);
    return true;
}

bool appendToFile(const QString &path, const QByteArray &content, QString *error)
{
    // Unbuffered: the bytes go straight to the file, so that after a short write (a full disk) the file can be cut
    // back at once; a buffered file would first try, and fail, to flush what is still pending.
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = failureCause(file);
        return false;
    }
    const qint64 sizeBefore = file.size();
    errno = 0;
    if (file.write(content) != content.size() || !flushToDisk(file)) {
        if (error)
            *error = failureCause(file);
        // Leave no half line behind: a later append would glue onto it.
        file.resize(sizeBefore);
        flushToDisk(file);
        return false;
    }
    return true;
}

} // namespace textfile
