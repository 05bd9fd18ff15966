#pragma once

// datamem.txt, the operator's stored frequencies: one entry a line, four quoted fields (group, frequency in kHz,
// mode, observation), CR LF, Windows-1252. Reading every entry, appending one, and deleting the entries of one
// frequency. Nothing is cached: each operation reads or writes the file afresh.

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

struct MemoryEntry
{
    QString group;
    QString frequency; // kHz
    QString mode;
    QString observation;

    friend bool operator==(const MemoryEntry &, const MemoryEntry &) = default;
};

namespace memoryfile {

// The groups an entry belongs to, in the order the panel offers them.
inline constexpr const char16_t *kGroups[] = {u"HF1", u"HF2", u"HF3", u"HF4", u"HF5", u"VHF", u"UHF", u"Sp1", u"Sp2"};

// In the application directory, computed afresh on every call.
QString memoryPath(); // datamem.txt
QString tempPath(); // DATAqS.tmp, the file a deletion writes before it takes the memory file's place

// Hands out the entries of a memory file one at a time, in file order. The file is read whole when opened and
// closed at once, so no operation on it ever meets an open reader. Tolerant of hand edits: blank lines,
// unquoted fields, LF-only line ends and a last line without its end are all read; a line with fewer than four
// fields is not an entry and is passed over; fields beyond the fourth are ignored.
class MemoryReader
{
public:
    // A missing file reads as no entries. False, with the reason in *error, when it exists but cannot be read.
    bool open(const QString &path, QString *error);
    // The next entry, or nothing at the end.
    std::optional<MemoryEntry> next();
    bool atEnd() const { return m_pos >= m_bytes.size(); }

private:
    QByteArray m_bytes;
    qsizetype m_pos = 0;
};

// Every entry of the file; nothing (and *error) when it exists but cannot be read.
std::optional<QList<MemoryEntry>> readAll(const QString &path, QString *error);

// The entry as one line of the file, CR LF included; nothing when a field would not read back whole (a double
// quote, a line break, a character outside Windows-1252).
std::optional<QByteArray> formatEntry(const MemoryEntry &entry);

// The key by which a deletion matches frequencies: a text that reads as a number in the locale's rules, rounded
// to a whole number and written with at least six digits ("7050" and "007050" both give "007050"); any other
// text as it stands.
QString frequencyKey(const QString &text, const QLocale &locale = QLocale());

// Appends the entry as the last line of the memory file, creating the file when missing. False (and *error)
// when a field cannot be written or the file cannot be; the file then holds what it held.
bool Enreg_qrg(const MemoryEntry &entry, QString *error);

// Rewrites the memory file without every entry whose frequency has the key of SelectedFreq. Every other line keeps
// its place and its bytes, ended by CR LF (so a hand-edited line the reader passes over is not lost); blank lines
// go. The new file goes to DATAqS.tmp, reaches the disk, then takes the memory file's place in one rename. A
// missing memory file has nothing to delete and stays missing. False (and *error) on any failure; the memory
// file is then as it was.
bool Efface_qrg(const QString &SelectedFreq, QString *error);

} // namespace memoryfile
