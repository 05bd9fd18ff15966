#include "dialogs.h"

#include <QDialog>

namespace ui {

namespace {
ModalHandler &handler()
{
    static ModalHandler h;
    return h;
}
} // namespace

int execModal(QDialog &dialog)
{
    if (handler()) {
        dialog.setModal(true);
        dialog.show();
        return handler()(dialog);
    }
    return dialog.exec();
}

ModalHandler setModalHandler(ModalHandler h)
{
    ModalHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

} // namespace ui
