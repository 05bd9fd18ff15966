#pragma once

// A text label used as a button, as on the panel's navigation row: it takes the keyboard focus, acts on a
// click, Space or Enter, and is announced to screen readers as a button with its caption.

#include <QLabel>

class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

    void click(); // as a user's click, if enabled

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_pressed = false;
};
