#pragma once

// The message box itself, as the window toolkit shows it: modal, one OK button, its text as plain text.

#include "messagebox.h"

namespace ui {

void presentMessageBox(const ShownMessage &message);

} // namespace ui
