// setting.ini as a hand edit, a crash or another program may leave it: the whole input is the file. Read through
// the program's own path (Settings::read on a real file); what it finds must be what the record syntax gives,
// and saving it again must either give back the same values or refuse and leave the file alone.

#include "apppaths.h"
#include "fuzzinput.h"
#include "settings.h"
#include "textfile.h"

#include <QFile>

namespace {

const QStringList kUntouched = {QStringLiteral("<port>"), QStringLiteral("<delay>"), QStringLiteral("<line>"),
    QStringLiteral("<call>"), QStringLiteral("<loc>")};

QStringList valuesOf(const Settings &s)
{
    return {s.PortNumber, s.FlowDelay, s.PortSettings, s.Callsign, s.Locator};
}

Settings withValues(const QStringList &v)
{
    Settings s;
    s.PortNumber = v[0];
    s.FlowDelay = v[1];
    s.PortSettings = v[2];
    s.Callsign = v[3];
    s.Locator = v[4];
    return s;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void checkRecordSyntax(const QByteArray &bytes, const QList<QStringList> &records)
{
    FUZZ_CHECK(records.size() <= bytes.count('\n') + 1, fuzz::printable(bytes));
    for (const QStringList &record : records) {
        FUZZ_CHECK(!record.isEmpty(), fuzz::printable(bytes));
        bool writable = true;
        for (const QString &field : record) {
            FUZZ_CHECK(!field.contains(u'\n'), fuzz::printable(record));
            // Every byte decodes to a character the code page can write back.
            FUZZ_CHECK(textfile::encodeCp1252(field).has_value(), fuzz::printable(record));
            writable = writable && textfile::isWritableField(field);
        }
        const std::optional<QByteArray> line = textfile::formatRecord(record);
        FUZZ_CHECK(line.has_value() == writable, fuzz::printable(record));
        if (line)
            FUZZ_CHECK(textfile::parseRecords(*line) == QList<QStringList> {record}, fuzz::printable(*line));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool pointed = (apppaths::setAppDirOverride(fuzz::scratchDir().path()), true);
    Q_UNUSED(pointed)
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = Settings::SettingsPath();
    {
        QFile f(path);
        FUZZ_CHECK(
            f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size(), f.errorString());
    }

    const QList<QStringList> records = textfile::parseRecords(bytes);
    checkRecordSyntax(bytes, records);

    Settings settings = withValues(kUntouched);
    const Settings::ReadResult result = settings.read();
    const QStringList values = valuesOf(settings);
    FUZZ_CHECK(result != Settings::ReadResult::Missing, path);
    if (records.isEmpty()) {
        FUZZ_CHECK(result == Settings::ReadResult::Empty && values == kUntouched, fuzz::printable(values));
        return 0;
    }
    // The last record decides; earlier ones only matter for the values a short last record leaves behind.
    const QStringList &last = records.last();
    if (last.size() < 5) {
        FUZZ_CHECK(result == Settings::ReadResult::Truncated && settings.PortNumber.isEmpty(), fuzz::printable(values));
        return 0;
    }
    FUZZ_CHECK(result == Settings::ReadResult::Read && values == last.mid(0, 5), fuzz::printable(values));

    // Saving what was read either writes it so that it reads back the same, or refuses and keeps the old file.
    QString error;
    const bool saved = settings.write(&error);
    FUZZ_CHECK(!QFile::exists(Settings::TempPath()), error);
    if (!saved) {
        FUZZ_CHECK(!textfile::formatRecord(values).has_value(), error);
        FUZZ_CHECK(fileBytes(path) == bytes, error);
        return 0;
    }
    FUZZ_CHECK(
        fileBytes(path) == textfile::formatRecord(values).value_or(QByteArray()), fuzz::printable(fileBytes(path)));
    Settings again;
    FUZZ_CHECK(again.read() == Settings::ReadResult::Read && valuesOf(again) == values, fuzz::printable(values));
    return 0;
}
