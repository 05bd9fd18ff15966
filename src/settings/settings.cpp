#include "settings.h"

#include "apppaths.h"
#include "textfile.h"

#include <QFile>

namespace {
constexpr qsizetype kFieldCount = 5;
}

QString Settings::AppDir()
{
    return apppaths::AppDir();
}

QString Settings::SettingsPath()
{
    return AppDir() + QStringLiteral("setting.ini");
}

QString Settings::TempPath()
{
    return AppDir() + QStringLiteral("Data.tmp");
}

Settings::ReadResult Settings::read()
{
    QFile file(SettingsPath());
    if (!file.open(QIODevice::ReadOnly)) {
        PortNumber.clear();
        return ReadResult::Missing;
    }
    const QList<QStringList> records = textfile::parseRecords(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        PortNumber.clear();
        return ReadResult::Missing;
    }
    ReadResult result = ReadResult::Empty;
    for (const QStringList &record : records) {
        if (record.size() < kFieldCount) {
            PortNumber.clear();
            result = ReadResult::Truncated;
            continue;
        }
        PortNumber = record[0];
        FlowDelay = record[1];
        PortSettings = record[2];
        Callsign = record[3];
        Locator = record[4];
        result = ReadResult::Read;
    }
    return result;
}

bool Settings::write(QString *error) const
{
    const auto line = textfile::formatRecord({PortNumber, FlowDelay, PortSettings, Callsign, Locator});
    if (!line) {
        if (error)
            *error = QStringLiteral("un champ contient un caractère interdit");
        return false;
    }
    return textfile::replaceFile(TempPath(), SettingsPath(), *line, error);
}
