#pragma once

// The operator's configuration, kept in setting.ini in the application directory: one record of five quoted
// fields (port number, flow delay, line settings, callsign, locator). The values live here for the whole run;
// the link re-reads the file at each switch-on and the configuration dialog writes it.

#include <QString>

class Settings
{
public:
    QString PortNumber; // "1" to "4"
    QString FlowDelay; // "200", "300", "400", "600"
    QString PortSettings; // "4800,n,8,2", "9600,n,8,2", "57600,n,8,2"
    QString Callsign;
    QString Locator;

    static QString AppDir();
    static QString SettingsPath();
    static QString TempPath(); // Data.tmp, the replacement while it is written

    enum class ReadResult {
        Read, // at least one whole record; the last one is in the values
        Empty, // the file holds no record: the values are unchanged
        Missing, // no file, or it cannot be read: PortNumber is emptied so that switching on asks for a port
        Truncated, // the last record has fewer than five fields: PortNumber is emptied as well
    };
    ReadResult read();

    // Replaces setting.ini with the five values. On failure (a field that would not read back as written,
    // a directory that cannot be written, a full disk) the old file stays as it was and *error says why.
    bool write(QString *error = nullptr) const;
};
