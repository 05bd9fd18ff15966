#pragma once

// What the harnesses share: a fuzz input read piece by piece, a scratch directory that is fast to write, and a
// loud failure when an invariant breaks (libFuzzer then keeps the input that broke it).

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

class Input
{
public:
    Input(const uint8_t *data, size_t size)
        : m_data(reinterpret_cast<const char *>(data))
        , m_size(qsizetype(size))
    { }

    bool atEnd() const { return m_pos >= m_size; }
    qsizetype remaining() const { return m_size - m_pos; }
    // The next byte, 0 once the input is used up.
    quint8 byte() { return atEnd() ? 0 : quint8(m_data[m_pos++]); }
    QByteArray bytes(qsizetype count)
    {
        count = std::min(count, remaining());
        const QByteArray taken(m_data + m_pos, count);
        m_pos += count;
        return taken;
    }
    // The bytes up to the separator or the end; the separator is consumed.
    QByteArray until(char separator)
    {
        const char *const begin = m_data + m_pos;
        const char *const end = m_data + m_size;
        const char *const found = std::find(begin, end, separator);
        m_pos += qsizetype(found - begin) + (found == end ? 0 : 1);
        return QByteArray(begin, qsizetype(found - begin));
    }
    QByteArray rest() { return bytes(remaining()); }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

// A directory for the files a harness writes once per input: in memory where the system has it, since the
// writers flush to disk on every replacement.
inline QTemporaryDir &scratchDir()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
            ? QStringLiteral("/dev/shm/orvane-fuzz-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/orvane-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch directory: %s\n", qPrintable(dir.errorString()));
        std::abort();
    }
    return dir;
}

// Bytes and lists in a form that survives a terminal, for failure details.
inline QString printable(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toPercentEncoding(" ,\"'.:+-"));
}
inline QString printable(const QStringList &list)
{
    return QStringLiteral("[") + list.join(QStringLiteral("|")) + QStringLiteral("]");
}

[[noreturn]] inline void fail(const char *file, int line, const char *condition, const QString &detail)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n  %s\n", file, line, condition, qPrintable(detail));
    std::abort();
}

} // namespace fuzz

// Checks an invariant; on failure names it, prints the detail (a QString) and aborts.
#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fuzz::fail(__FILE__, __LINE__, #condition, detail);                                                        \
    } while (false)
