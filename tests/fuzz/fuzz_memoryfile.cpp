// datamem.txt as a hand edit or another program may leave it: the whole input is the file. Reading it must give
// exactly the entries the record syntax holds, appending must add one entry at the end, and deleting a frequency
// must take away exactly the entries whose deletion key matches and keep every other line.

#include "apppaths.h"
#include "fuzzinput.h"
#include "memoryfile.h"
#include "textfile.h"

#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

using Entries = QList<MemoryEntry>;

QString show(const Entries &entries)
{
    QStringList lines;
    for (const MemoryEntry &e : entries)
        lines << fuzz::printable(QStringList {e.group, e.frequency, e.mode, e.observation});
    return lines.join(u'\n');
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size(), f.errorString());
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

Entries readAll(const QString &path)
{
    QString error;
    const std::optional<Entries> entries = memoryfile::readAll(path, &error);
    FUZZ_CHECK(entries.has_value(), error);
    return *entries;
}

// The lines of a file that are records but no entries (fewer than four fields): a deletion keeps them.
QList<QStringList> shortRecords(const QByteArray &bytes)
{
    QList<QStringList> records = textfile::parseRecords(bytes);
    records.removeIf([](const QStringList &r) { return r.size() >= 4; });
    return records;
}

void checkKey(const QString &text, const QLocale &locale)
{
    static const QRegularExpression numeric(QStringLiteral("^-?[0-9]{6,}$"));
    const QString key = memoryfile::frequencyKey(text, locale);
    // A key is a key of itself, so a frequency typed as "7050" deletes an entry written "007050" and back.
    FUZZ_CHECK(memoryfile::frequencyKey(key, locale) == key, text + u" -> "_s + key);
    if (key == text)
        return; // not a number, or one too large to round: matched as written
    FUZZ_CHECK(numeric.match(key).hasMatch(), text + u" -> "_s + key);
    if (!key.startsWith(u'-'))
        FUZZ_CHECK(memoryfile::frequencyKey(QStringLiteral("00") + key, locale) == key, key);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool pointed = (apppaths::setAppDirOverride(fuzz::scratchDir().path()), true);
    Q_UNUSED(pointed)
    static const QList<QLocale> locales
        = {QLocale::c(), QLocale(QLocale::French, QLocale::France), QLocale(QLocale::German, QLocale::Germany)};
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = memoryfile::memoryPath();
    writeFile(path, bytes);

    // Every entry, in file order, exactly as the shared record syntax reads the lines of four fields or more.
    Entries expected;
    for (const QStringList &r : textfile::parseRecords(bytes)) {
        if (r.size() >= 4)
            expected.append({r[0], r[1], r[2], r[3]});
    }
    const Entries entries = readAll(path);
    FUZZ_CHECK(entries == expected, show(entries) + u"\n---\n"_s + show(expected));
    memoryfile::MemoryReader reader;
    QString error;
    FUZZ_CHECK(reader.open(path, &error), error);
    for (const MemoryEntry &entry : entries)
        FUZZ_CHECK(reader.next() == entry, show({entry}));
    FUZZ_CHECK(!reader.next() && reader.atEnd(), show(entries));

    const QLocale &locale = locales[size % locales.size()];
    for (const MemoryEntry &entry : entries) {
        checkKey(entry.frequency, locale);
        checkKey(entry.observation, locale);
    }

    // Appending starts a line of its own even after a last line without its end.
    const MemoryEntry added = entries.isEmpty() || !memoryfile::formatEntry(entries.first())
        ? MemoryEntry {QStringLiteral("VHF"), QStringLiteral("145500"), QStringLiteral("FM"), QString()}
        : entries.first();
    FUZZ_CHECK(memoryfile::Enreg_qrg(added, &error), error);
    const Entries appended = readAll(path);
    FUZZ_CHECK(appended == entries + Entries {added}, show(appended));
    const QByteArray beforeDeletion = fileBytes(path);

    // Deleting one frequency: the one of an entry chosen by the input, or a text that is no entry's.
    QLocale::setDefault(locale);
    const QString selected = entries.isEmpty() ? QString::fromLatin1(bytes.left(8)).trimmed()
                                               : entries[qsizetype(size / 3) % entries.size()].frequency;
    const QString key = memoryfile::frequencyKey(selected, locale);
    FUZZ_CHECK(memoryfile::Efface_qrg(selected, &error), error);
    QLocale::setDefault(QLocale::c());
    FUZZ_CHECK(!QFile::exists(memoryfile::tempPath()), error);
    Entries kept = appended;
    kept.removeIf([&](const MemoryEntry &e) { return memoryfile::frequencyKey(e.frequency, locale) == key; });
    const QByteArray afterDeletion = fileBytes(path);
    FUZZ_CHECK(readAll(path) == kept, selected + u"\n"_s + show(readAll(path)));
    FUZZ_CHECK(shortRecords(afterDeletion) == shortRecords(beforeDeletion), fuzz::printable(afterDeletion));
    FUZZ_CHECK(afterDeletion.isEmpty() || afterDeletion.endsWith("\r\n"), fuzz::printable(afterDeletion));
    return 0;
}
