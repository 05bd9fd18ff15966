#pragma once

// A field's KeyAscii handler, the one rule of every field that checks what is typed into it: the handler sees the
// code of each character that would enter the field (keys::Backspace and keys::Enter for those keys), typed, pasted
// (the shortcut, the middle button, the menu's paste) or composed by an input method, and may change it: 0 keeps
// it out, keys::Backspace erases the character before the cursor instead. A pasted or composed text enters one
// character after the other, each as if typed, so that what a handler does to the field (clearing it on a refused
// character) lands where it would for keys. Keys with Ctrl, and keys
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
    // A pasted or composed text typed into the field character by character; line breaks and tabs are no keys.
    void type(const QString &text);
    // What the handler left of one character: erases the one before the cursor, enters it, or nothing.
    void enter(int keyAscii);
    void paste(bool selection);

    QLineEdit *m_field;
    Handler m_handler;
    bool m_passing = false; // an input method's preedit handed on to the field
};
