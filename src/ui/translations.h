#pragma once

// Qt's own texts (the text fields' right-click menu, the buttons of its dialogs, the names of actions given to
// screen readers) in French, whatever the user's locale: the program speaks French only.

namespace ui {

// Loads Qt's French translations from the library's translations directory (Debian: qt6-translations-l10n)
// into the running application, once. False when they are not installed: Qt's texts then stay English.
bool loadQtFrench();

} // namespace ui
