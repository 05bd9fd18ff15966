// setting.ini as a hand edit, a crash or another program may leave it: the whole input is the file. Read through the
// program's own path (Settings::read on a real file), it gives what the record syntax gives; saved again, it either
// reads back the same values or is refused and the file left alone.

#include "apppaths.h"
#include "fuzzinput.h"
#include "settings.h"
#include "textfile.h"

using namespace Qt::StringLiterals;

namespace {

QStringList valuesOf(const Settings &s)
{
    return {s.PortNumber, s.FlowDelay, s.PortSettings, s.Callsign, s.Locator};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool pointed = (apppaths::setAppDirOverride(fuzz::scratchDir()), true);
    Q_UNUSED(pointed)
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_CHECK(testfiles::write(Settings::SettingsPath(), bytes));

    // The record syntax: at most a record a line, no field holding a line end, every character one the code page
    // writes back; a record that can be written reads back as itself.
    const QList<QStringList> records = textfile::parseRecords(bytes);
    FUZZ_CHECK(records.size() <= bytes.count('\n') + 1);
    for (const QStringList &record : records) {
        FUZZ_CHECK(!record.isEmpty());
        for (const QString &field : record)
            FUZZ_CHECK(!field.contains(u'\n') && textfile::encodeCp1252(field).has_value());
        const std::optional<QByteArray> line = textfile::formatRecord(record);
        FUZZ_CHECK(line.has_value() == std::all_of(record.begin(), record.end(), textfile::isWritableField));
        FUZZ_CHECK(!line || textfile::parseRecords(*line) == QList<QStringList> {record});
    }

    // The last record decides; a short one empties the port so that switching on asks for one.
    const QStringList untouched = {u"<port>"_s, u"<delay>"_s, u"<line>"_s, u"<call>"_s, u"<loc>"_s};
    Settings settings {untouched[0], untouched[1], untouched[2], untouched[3], untouched[4]};
    const Settings::ReadResult result = settings.read();
    FUZZ_CHECK(records.isEmpty() ? result == Settings::ReadResult::Empty && valuesOf(settings) == untouched
            : records.last().size() < 5
            ? result == Settings::ReadResult::Truncated && settings.PortNumber.isEmpty()
            : result == Settings::ReadResult::Read && valuesOf(settings) == records.last().mid(0, 5));
    if (result != Settings::ReadResult::Read)
        return 0;

    // Saving what was read writes it so that it reads back the same, or refuses and keeps the old file.
    const std::optional<QByteArray> line = textfile::formatRecord(valuesOf(settings));
    const bool saved = settings.write(nullptr);
    FUZZ_CHECK(!QFile::exists(Settings::TempPath()));
    FUZZ_CHECK(saved == line.has_value() && testfiles::read(Settings::SettingsPath()) == line.value_or(bytes));
    Settings again;
    FUZZ_CHECK(!saved || (again.read() == Settings::ReadResult::Read && valuesOf(again) == valuesOf(settings)));
    return 0;
}
