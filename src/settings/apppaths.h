#pragma once

// Where the program keeps its files (setting.ini, datamem.txt) and looks for its com1 to com4 links: beside the
// program for a portable copy, in the user's data directory for an installed one. Decided once, at start-up.

#include <QString>

#include <functional>

namespace apppaths {

// The application directory, always ending in exactly one separator ("/" at the root, never "//"). The first call
// (made at start-up) decides it with chooseAppDir() and every later call gives the same answer.
QString AppDir();
// Tests point the program at another directory; an empty text returns to the decided one.
void setAppDirOverride(const QString &directory);

// The program's own directory when it can be written (a copy unpacked anywhere keeps its files beside it);
// otherwise (installed system-wide, as in /usr/bin) the user's data directory, created when missing. When that
// cannot be created either, the program's directory after all, so that saving fails there with a message.
QString chooseAppDir(
    const QString &programDir, const QString &userDataDir, const std::function<bool(const QString &)> &isWritable);

// Whether the current user can create files in the directory (permissions, read-only mounts, immutable flags).
bool isWritableDirectory(const QString &directory);

} // namespace apppaths
