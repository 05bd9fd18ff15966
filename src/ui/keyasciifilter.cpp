#include "keyasciifilter.h"

#include "keys.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

// The code a typed key gives the handler, or -1 when it types nothing the handler judges.
int keyAsciiOf(const QKeyEvent &event)
{
    if (event.key() == Qt::Key_Backspace)
        return keys::Backspace;
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return keys::Enter;
    if (event.modifiers() == Qt::ControlModifier || event.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))
        return -1;
    const QList<uint> codes = event.text().toUcs4();
    if (codes.size() != 1 || !QChar::isPrint(char32_t(codes.front())))
        return -1;
    return int(codes.front());
}

// The "Paste" entry of a field's standard menu: named in newer Qt, known by its (translated) caption before.
QAction *pasteAction(const QMenu *menu)
{
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")
            || action->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste"))
            return action;
    }
    return nullptr;
}

QString characterOf(int code)
{
    const auto c = char32_t(code);
    return QString::fromUcs4(&c, 1);
}

} // namespace

KeyAsciiFilter::KeyAsciiFilter(QLineEdit *field, Handler handler)
    : QObject(field)
    , m_field(field)
    , m_handler(std::move(handler))
{ }

void KeyAsciiFilter::install(QLineEdit *field, Handler handler)
{
    field->setAcceptDrops(false);
    field->installEventFilter(new KeyAsciiFilter(field, std::move(handler)));
}

void KeyAsciiFilter::type(const QString &text)
{
    for (const char32_t code : text.toUcs4()) {
        if (QChar::category(code) == QChar::Other_Control)
            continue;
        int keyAscii = int(code);
        m_handler(keyAscii);
        enter(keyAscii);
    }
}

void KeyAsciiFilter::enter(int keyAscii)
{
    if (keyAscii == keys::Backspace)
        m_field->backspace();
    else if (keyAscii > 0 && QChar::category(char32_t(keyAscii)) != QChar::Other_Control)
        m_field->insert(characterOf(keyAscii)); // the first replaces a selection; none goes past the maximum
}

void KeyAsciiFilter::paste(bool selection)
{
    type(QGuiApplication::clipboard()->text(selection ? QClipboard::Selection : QClipboard::Clipboard));
}

bool KeyAsciiFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_field || m_field->isReadOnly())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            paste(false);
            return true;
        }
        const int typed = keyAsciiOf(*key);
        if (typed < 0)
            return false;
        int keyAscii = typed;
        m_handler(keyAscii);
        if (keyAscii == typed)
            return false; // the key goes on as it was
        enter(keyAscii);
        return true;
    }
    case QEvent::InputMethod: {
        // Composed characters (dead keys, input methods) arrive here rather than as key presses.
        auto *input = static_cast<QInputMethodEvent *>(event);
        if (m_passing || input->commitString().isEmpty())
            return false;
        if (input->replacementLength() > 0) // the text the composition replaces, around the cursor
            m_field->setSelection(m_field->cursorPosition() + input->replacementStart(), input->replacementLength());
        type(input->commitString());
        if (!input->preeditString().isEmpty()) { // what is still being composed shows after the committed text
            QInputMethodEvent preedit(input->preeditString(), input->attributes());
            m_passing = true;
            QCoreApplication::sendEvent(m_field, &preedit);
            m_passing = false;
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::MiddleButton || !QGuiApplication::clipboard()->supportsSelection())
            return false;
        m_field->deselect();
        m_field->setCursorPosition(m_field->cursorPositionAt(mouse->position().toPoint()));
        paste(true);
        return true;
    }
    case QEvent::ContextMenu: {
        QMenu *menu = m_field->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        if (QAction *action = pasteAction(menu)) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { paste(false); });
        }
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    default:
        return false;
    }
}
