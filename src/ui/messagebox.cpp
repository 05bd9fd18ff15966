#include "messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace ui {

namespace {
MessageHandler &handler()
{
    static MessageHandler h;
    return h;
}

MessageGate &gate()
{
    static MessageGate g;
    return g;
}

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QString applicationTitle()
{
    return QStringLiteral("Orvane");
}

void showMessage(const QString &text, MsgIcon icon, const QString &title)
{
    if (gate() && gate()({text, icon, title}))
        return;
    if (handler()) {
        handler()({text, icon, title});
        return;
    }
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void setMessageGate(MessageGate g)
{
    gate() = std::move(g);
}

MessageHandler setMessageHandler(MessageHandler h)
{
    MessageHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

} // namespace ui
