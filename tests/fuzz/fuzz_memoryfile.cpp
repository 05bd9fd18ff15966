// datamem.txt as a hand edit or another program may leave it: the whole input is the file. Reading it gives exactly
// the entries the record syntax holds, appending adds one entry at the end, and deleting a frequency takes away
// exactly the entries whose deletion key matches and keeps every other line.

#include "apppaths.h"
#include "fuzzinput.h"
#include "memoryfile.h"
#include "textfile.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;
using Entries = QList<MemoryEntry>;

namespace {

// The entries (records of four fields or more) and the other records of a file, as the shared syntax reads them.
std::pair<Entries, QList<QStringList>> recordsOf(const QByteArray &bytes)
{
    std::pair<Entries, QList<QStringList>> split;
    for (const QStringList &r : textfile::parseRecords(bytes))
        r.size() >= 4 ? split.first.append({r[0], r[1], r[2], r[3]}) : split.second.append(r);
    return split;
}

// A file that cannot be read throws here, which ends the run as loudly as a broken invariant.
Entries readAll()
{
    return memoryfile::readAll(memoryfile::memoryPath(), nullptr).value();
}

// A key is a key of itself, so a frequency typed "7050" deletes an entry written "007050" and back.
void checkKey(const QString &text, const QLocale &locale)
{
    static const QRegularExpression numeric(u"^-?[0-9]{6,}$"_s);
    const QString key = memoryfile::frequencyKey(text, locale);
    FUZZ_CHECK(memoryfile::frequencyKey(key, locale) == key);
    // Not a number, or one too large to round, is matched as written.
    FUZZ_CHECK(key == text || numeric.match(key).hasMatch());
    FUZZ_CHECK(key == text || key.startsWith(u'-') || memoryfile::frequencyKey(u"00"_s + key, locale) == key);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool pointed = (apppaths::setAppDirOverride(fuzz::scratchDir()), true);
    static const QList<QLocale> locales = {QLocale::c(), QLocale(QLocale::French), QLocale(QLocale::German)};
    Q_UNUSED(pointed)
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_CHECK(testfiles::write(memoryfile::memoryPath(), bytes));

    // Every entry, in file order.
    const Entries entries = readAll();
    FUZZ_CHECK(entries == recordsOf(bytes).first);
    const QLocale &locale = locales[size % locales.size()];
    for (const MemoryEntry &entry : entries) {
        checkKey(entry.frequency, locale);
        checkKey(entry.observation, locale);
    }

    // Appending starts a line of its own even after a last line without its end.
    const MemoryEntry added = entries.isEmpty() || !memoryfile::formatEntry(entries.first())
        ? MemoryEntry {u"VHF"_s, u"145500"_s, u"FM"_s, {}}
        : entries.first();
    FUZZ_CHECK(memoryfile::Enreg_qrg(added, nullptr));
    const Entries appended = readAll();
    FUZZ_CHECK(appended == entries + Entries {added});
    const QByteArray beforeDeletion = testfiles::read(memoryfile::memoryPath());

    // Deleting one frequency: an entry's, chosen by the input, or a text that is no entry's.
    QLocale::setDefault(locale);
    const QString selected = entries.isEmpty() ? QString::fromLatin1(bytes.left(8)).trimmed()
                                               : entries[qsizetype(size / 3) % entries.size()].frequency;
    FUZZ_CHECK(memoryfile::Efface_qrg(selected, nullptr));
    QLocale::setDefault(QLocale::c());
    FUZZ_CHECK(!QFile::exists(memoryfile::tempPath()));
    Entries kept = appended;
    const QString key = memoryfile::frequencyKey(selected, locale);
    kept.removeIf([&](const MemoryEntry &e) { return memoryfile::frequencyKey(e.frequency, locale) == key; });
    const QByteArray after = testfiles::read(memoryfile::memoryPath());
    FUZZ_CHECK(readAll() == kept && recordsOf(after).second == recordsOf(beforeDeletion).second);
    FUZZ_CHECK(after.isEmpty() || after.endsWith("\r\n"));
    return 0;
}
