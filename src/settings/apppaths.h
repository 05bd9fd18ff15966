#pragma once

// Where the program keeps its files (setting.ini, datamem.txt) and looks for its com1 to com4 links: beside the
// program for a portable copy, in the user's data directory for an installed one. Decided once, at start-up.

#include <QString>
#include <QStringList>

#include <functional>

namespace apppaths {

// The application directory, always ending in exactly one separator ("/" at the root, never "//"). The first call
// (made at start-up) decides it with chooseAppDir() and every later call gives the same answer.
QString AppDir();
// Tests point the program at another directory; an empty text returns to the decided one.
void setAppDirOverride(const QString &directory);

// The program's own directory for a copy run from a directory of its own (a build, a portable folder) that can be
// written; otherwise (installed in one of systemDirs, even when run by root, or a directory that cannot be
// written) the user's data directory, created when missing. The first start that keeps files there (it holds
// neither setting.ini nor datamem.txt yet) copies those found beside the program into it. When the user's
// directory cannot be created either, the program's directory after all, so that saving fails there with a
// message.
QString chooseAppDir(const QString &programDir, const QString &userDataDir,
    const std::function<bool(const QString &)> &isWritable, const QStringList &systemDirs);

// The directories a system-wide installation puts programs in: the one this build installs into, and the
// system's own (/usr/bin, /usr/local/bin, ...).
QStringList systemProgramDirs();

// Whether the current user can create files in the directory (permissions, read-only mounts, immutable flags).
bool isWritableDirectory(const QString &directory);

} // namespace apppaths
