#include "messagebox.h"

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

MessageHandler &presenter()
{
    static MessageHandler p;
    return p;
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
    if (presenter())
        presenter()({text, icon, title});
}

void setMessagePresenter(MessageHandler p)
{
    presenter() = std::move(p);
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
