#pragma once

// Every message box of the program goes through here, so that one place decides how it looks and tests can
// answer it without a person at the keyboard. This side knows no widgets: the window toolkit's presenter shows the
// box (see boxpresenter.h), installed when the program is put together.

#include <QString>

#include <functional>

namespace ui {

enum class MsgIcon { None, Error, Warning, Information };

struct ShownMessage
{
    QString text;
    MsgIcon icon = MsgIcon::None;
    QString title;
};

// The title every box carries unless told otherwise.
QString applicationTitle();

// Shows a modal box with one OK button and returns when it is closed (at once without a presenter: tests).
void showMessage(const QString &text, MsgIcon icon = MsgIcon::None, const QString &title = applicationTitle());

using MessageHandler = std::function<void(const ShownMessage &)>;
// Replaces the real box (tests). Returns the previous handler; an empty handler restores the real box.
MessageHandler setMessageHandler(MessageHandler handler);
// What shows the real box, modally.
void setMessagePresenter(MessageHandler presenter);

// Asked first for every box: returns true when it takes the box to show later (the program's road to the radio
// takes a box asked for in the middle of a send). None: every box shows at once.
using MessageGate = std::function<bool(const ShownMessage &)>;
void setMessageGate(MessageGate gate);

} // namespace ui
