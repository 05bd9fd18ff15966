#pragma once

// The about box: title, description, version, a picture, and "OK". While it is open the launcher label on the
// main window shows that it is.

#include <QDialog>

class QWidget;

class Propos : public QDialog
{
    Q_OBJECT

public:
    // launcher: the main window's "A propos" label, teal while the box is open and navy after.
    explicit Propos(QWidget *launcher, QWidget *parent = nullptr);
    ~Propos() override;

    static QIcon programIcon();

private slots:
    void cmdOK_Click();

private:
    QWidget *m_launcher;
};
