#pragma once

// A field's KeyAscii handler, the one rule of every field that checks what is typed into it: the handler sees the
// code of each character that would enter the field (keys::Backspace and keys::Enter for those keys), typed, pasted
// (the shortcut, the middle button, the menu's paste) or composed by an input method, and may change it: 0 keeps
// it out, keys::Backspace (for a typed key) erases the character before the cursor instead. Keys with Ctrl, and keys
// that type nothing, pass untouched; dropping text on the field is refused, as it would go round the handler.

#include <QObject>

#include <functional>

class QEvent;
class QLineEdit;

class KeyAsciiFilter : public QObject
{
public:
    using Handler = std::function<void(int &keyAscii)>;

    // The filter lives as long as the field.
    static void install(QLineEdit *field, Handler handler);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyAsciiFilter(QLineEdit *field, Handler handler);
    // Each character of a pasted or composed text through the handler; what it keeps.
    QString filtered(const QString &text) const;
    void paste(bool selection);

    QLineEdit *m_field;
    Handler m_handler;
};
