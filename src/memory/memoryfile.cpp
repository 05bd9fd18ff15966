#include "memoryfile.h"

#include "apppaths.h"
#include "localenumber.h"
#include "textfile.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>

namespace memoryfile {

namespace {

constexpr int kFields = 4;

// Reads a whole file. A missing file is empty; one that exists but cannot be read gives nothing.
std::optional<QByteArray> readBytes(const QString &path, QString *error)
{
    if (!QFile::exists(path))
        return QByteArray();
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = textfile::failureCause(file);
        return std::nullopt;
    }
    errno = 0;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = textfile::failureCause(file);
        return std::nullopt;
    }
    return bytes;
}

} // namespace

QString memoryPath()
{
    return apppaths::AppDir() + QStringLiteral("datamem.txt");
}

QString tempPath()
{
    return apppaths::AppDir() + QStringLiteral("DATAqS.tmp");
}

bool MemoryReader::open(const QString &path, QString *error)
{
    m_bytes.clear();
    m_pos = 0;
    std::optional<QByteArray> bytes = readBytes(path, error);
    if (!bytes)
        return false;
    m_bytes = std::move(*bytes);
    return true;
}

std::optional<MemoryEntry> MemoryReader::next()
{
    std::array<QString, kFields> fields;
    while (!atEnd()) {
        if (textfile::readFields(textfile::takeLine(m_bytes, m_pos), fields.data(), kFields) >= kFields)
            return MemoryEntry {std::move(fields[0]), std::move(fields[1]), std::move(fields[2]), std::move(fields[3])};
    }
    return std::nullopt;
}

std::optional<QList<MemoryEntry>> readAll(const QString &path, QString *error)
{
    MemoryReader reader;
    if (!reader.open(path, error))
        return std::nullopt;
    QList<MemoryEntry> entries;
    while (std::optional<MemoryEntry> entry = reader.next())
        entries.append(std::move(*entry));
    return entries;
}

std::optional<QByteArray> formatEntry(const MemoryEntry &entry)
{
    return textfile::formatRecord({entry.group, entry.frequency, entry.mode, entry.observation});
}

QString frequencyKey(const QString &text, const QLocale &locale)
{
    const std::optional<frequency::ExactDecimal> number = frequency::ExactDecimal::fromText(text, locale);
    const std::optional<qint64> whole = number ? number->scaled(0) : std::nullopt;
    if (!whole)
        return text;
    // The magnitude as unsigned, so that even the most negative value has one.
    const quint64 magnitude = *whole < 0 ? 0 - quint64(*whole) : quint64(*whole);
    const QString digits = QString::number(magnitude).rightJustified(6, u'0');
    return *whole < 0 ? QStringLiteral("-") + digits : digits;
}

bool Enreg_qrg(const MemoryEntry &entry, QString *error)
{
    std::optional<QByteArray> line = formatEntry(entry);
    if (!line) {
        if (error)
            *error = QStringLiteral("un champ contient un caractère interdit");
        return false;
    }
    const QString path = memoryPath();
    // A hand-edited file may end without its line end, or with only the CR of it: the new entry must still start a
    // line of its own, and the old last line must keep its bytes (a CR before a new CR LF would join its last field).
    QFile existing(path);
    if (existing.size() > 0 && existing.open(QIODevice::ReadOnly) && existing.seek(existing.size() - 1)) {
        char last = 0;
        if (existing.getChar(&last) && last != '\n')
            line->prepend(last == '\r' ? "\n" : "\r\n");
    }
    existing.close();
    return textfile::appendToFile(path, *line, error);
}

bool Efface_qrg(const QString &SelectedFreq, QString *error)
{
    const QString path = memoryPath();
    if (!QFile::exists(path))
        return true;
    const std::optional<QByteArray> bytes = readBytes(path, error);
    if (!bytes)
        return false;

    const QLocale locale;
    const QString key = frequencyKey(SelectedFreq, locale);
    QByteArray kept;
    kept.reserve(bytes->size() + 2);
    std::array<QString, kFields> fields;
    qsizetype pos = 0;
    while (pos < bytes->size()) {
        const QByteArrayView line = textfile::takeLine(*bytes, pos);
        const int count = textfile::readFields(line, fields.data(), kFields);
        if (count == 0)
            continue; // a blank line holds nothing to keep
        // Whatever is not an entry of that frequency is kept exactly as it was written.
        if (count >= kFields && frequencyKey(fields[1], locale) == key)
            continue;
        kept.append(line).append("\r\n");
    }
    return textfile::replaceFile(tempPath(), path, kept, error);
}

} // namespace memoryfile
