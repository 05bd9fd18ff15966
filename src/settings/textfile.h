#pragma once

// The program's own text files (setting.ini, datamem.txt) share one record syntax: fields in double quotes,
// separated by commas, one record a line ended by CR LF, in the single-byte Windows-1252 code page so that
// files made on the original platform read the same. This is that syntax and the safe way to replace a file.

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QStringList>

#include <optional>

namespace textfile {

QString decodeCp1252(const QByteArray &bytes);
// Nothing when a character has no Windows-1252 byte.
std::optional<QByteArray> encodeCp1252(const QString &text);

// One record for each line that holds anything. A quoted field runs to the next double quote (commas inside
// stay); anything after its closing quote up to the next comma is dropped. A field without quotes, as a hand
// edit may leave it, runs to the next comma or the line end, blanks around it trimmed. LF or CR LF line ends.
QList<QStringList> parseRecords(const QByteArray &bytes);
// The next line of bytes from pos, without its line end (LF, CR LF); pos moves past it.
QByteArrayView takeLine(const QByteArray &bytes, qsizetype &pos);
// The fields of one line (its end removed) read the same way, without a list: the first maxFields go into fields.
// Returns how many fields the line holds, counted up to maxFields + 1; 0 for a blank line.
int readFields(QByteArrayView line, QString *fields, int maxFields);

// A field can be written only if it reads back as written: no double quote, no line break, and every character
// representable in the file's code page.
bool isWritableField(const QString &field);

// The record as one line: "a","b","c" CR LF. Nothing when a field is not writable.
std::optional<QByteArray> formatRecord(const QStringList &fields);

// Why a file operation failed, in the program's own words ("accès refusé", "disque plein"): the system's own
// text would be English. errorNumber is the errno the failing call left; 0 when none is known.
QString causeText(int errorNumber);
// The cause of the operation on file that has just failed: call it before anything else can change errno.
QString failureCause(const QFileDevice &file);

// Replaces finalPath with content so that no moment exists without a complete file: the content goes to
// tempPath, is flushed to disk, then renamed over finalPath in one step. On any failure finalPath is left
// as it was, the temporary file is removed, and the reason (causeText) is put in *error.
bool replaceFile(const QString &tempPath, const QString &finalPath, const QByteArray &content, QString *error);

// Appends bytes to the file, creating it when missing, and flushes them to disk.
bool appendToFile(const QString &path, const QByteArray &content, QString *error);

} // namespace textfile
