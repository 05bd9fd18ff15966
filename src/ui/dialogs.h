#pragma once

// Modal windows opened by the program itself (the configuration dialog after "Marche", the about box) go
// through here, so that tests can look at them and close them instead of blocking on them.

#include <functional>

class QDialog;

namespace ui {

int execModal(QDialog &dialog);

using ModalHandler = std::function<int(QDialog &dialog)>;
ModalHandler setModalHandler(ModalHandler handler); // empty restores the real event loop

} // namespace ui
