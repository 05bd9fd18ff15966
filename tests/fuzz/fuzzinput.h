#pragma once

// What the harnesses share: the input read piece by piece, a scratch directory for files that is fast to write, and a
// loud failure when an invariant breaks (libFuzzer then keeps the input that broke it, to replay).

#include "../support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

class Input
{
public:
    Input(const uint8_t *data, size_t size)
        : m_rest(reinterpret_cast<const char *>(data), qsizetype(size))
    { }
    quint8 byte() { return quint8(bytes(1).append('\0').at(0)); } // 0 once the input is used up
    QByteArray bytes(qsizetype count)
    {
        const QByteArray taken = m_rest.first(std::min(count, m_rest.size()));
        m_rest.remove(0, taken.size());
        return taken;
    }
    QByteArray rest() { return bytes(m_rest.size()); }

private:
    QByteArray m_rest;
};

// In memory where the system has it, since the program's writers flush to disk on every save.
inline QString scratchDir()
{
    static QTemporaryDir dir((QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath())
        + QStringLiteral("/orvane-fuzz-XXXXXX"));
    return dir.path();
}

[[noreturn]] inline void fail(const char *file, int line, const char *condition)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

} // namespace fuzz

// Checks an invariant; on failure names it and aborts.
#define FUZZ_CHECK(condition) ((condition) ? void() : fuzz::fail(__FILE__, __LINE__, #condition))
