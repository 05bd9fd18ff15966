#pragma once

// Where the program keeps its files: the directory it runs from, unless a test points it elsewhere.

#include <QString>

namespace apppaths {

// The application directory, always ending in exactly one separator ("/" at the root, never "//").
QString AppDir();
// Tests (and later an installed copy) point the program at another directory; an empty text restores the default.
void setAppDirOverride(const QString &directory);

} // namespace apppaths
