#pragma once

// The configuration dialog `config`: serial port, flow delay, line speed, callsign and locator, shown from
// setting.ini and saved back to it. It is created for each opening and shown modally; the main window's
// "Configuration" label stays teal while it is open.

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Settings;

class ConfigDialog : public QDialog
{
    Q_OBJECT

public:
    // settings: the program's shared values, read on opening and replaced by a successful "Valider".
    // launcher: the main window's "Configuration" label (may be null).
    ConfigDialog(Settings &settings, QWidget *launcher, QWidget *parent = nullptr);
    ~ConfigDialog() override;

    QRadioButton *Option_com1 = nullptr, *Option_com2 = nullptr, *Option_com3 = nullptr, *Option_com4 = nullptr;
    QRadioButton *Option_200 = nullptr, *Option_300 = nullptr, *Option_400 = nullptr, *Option_600 = nullptr;
    QRadioButton *O_4800 = nullptr, *O_9600 = nullptr, *O_57600 = nullptr;
    QLineEdit *Text1 = nullptr; // callsign
    QLineEdit *Text2 = nullptr; // locator
    QPushButton *Comvalid = nullptr; // "Valider"; no default button, Enter saves nothing
    QPushButton *ComX = nullptr; // "X"

    // Run by the constructor: the label turns teal, the file is read and its values shown.
    void Form_Load();
    // Takes the choices and fields, replaces setting.ini and closes. When the file cannot be written an error
    // box says so, the old file and the shared values stay as they were, and the dialog stays open.
    void Comvalid_Click();
    // Closes without saving.
    void ComX_Click();
    // Key filter of the fields: the character typed, as the field is to receive it (0: it is dropped).
    void Text1_KeyPress(int &KeyAscii);
    void Text2_KeyPress(int &KeyAscii);

    // The window's close button and Escape act as "X".
    void reject() override;

private:
    void buildControls();
    void setLauncherColor(bool open);

    Settings &m_settings;
    QWidget *m_launcher;
    QButtonGroup *m_port = nullptr; // ids 1 to 4
    QButtonGroup *m_delay = nullptr; // ids 200, 300, 400, 600
    QButtonGroup *m_speed = nullptr; // ids 4800, 9600, 57600
};
