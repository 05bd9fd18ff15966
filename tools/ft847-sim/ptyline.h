#pragma once

// The emulator's end of the line: a raw pseudo-terminal pair and, optionally, a symlink naming its slave side.

#include <QString>

namespace ft847sim {

class PtyLine
{
public:
    PtyLine() = default;
    ~PtyLine() { close(); }
    PtyLine(const PtyLine &) = delete;
    PtyLine &operator=(const PtyLine &) = delete;

    // Opens master and slave (both raw, the master non-blocking) and makes the link when linkPath is set,
    // replacing a file or link already there.
    bool open(const QString &linkPath, QString *error);
    // Closes both descriptors: the client's slave descriptor is then left on a dead line.
    void hangUp();
    // hangUp() and removes the link.
    void close();

    int master() const { return m_master; }
    QString slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_link;
};

} // namespace ft847sim
