#include "configdialog.h"

#include "keyasciifilter.h"
#include "keys.h"
#include "look.h"
#include "messagebox.h"
#include "settings.h"
#include "textfile.h"
#include "twips.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Typed characters above code 90 become the character 32 codes lower: lower case to capitals, "_" to "?", "é" to
// "É". Keys that edit rather than type (control characters) pass untouched. A double quote would split the field in
// setting.ini, and a result outside the file's code page (or not printable) could not be written or read back, so
// such characters are dropped.
int upperTyped(int code)
{
    if (QChar::category(char32_t(code)) == QChar::Other_Control)
        return code;
    const auto capital = char32_t(keys::capital(code));
    return QChar::isPrint(capital) && textfile::isWritableField(QString::fromUcs4(&capital, 1)) ? int(capital) : 0;
}

int numericValue(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

QString speedSettings(int baud)
{
    return QString::number(baud) + QStringLiteral(",n,8,2");
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &title, int left, int top, int width, int height)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(ui::rectTw(left, top, width, height));
    return box;
}

QRadioButton *option(
    QButtonGroup *group, int id, QGroupBox *box, const char *name, const QString &caption, int left, int top, int width)
{
    auto *button = new QRadioButton(caption, box);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(ui::rectTw(left, top, width, 330));
    group->addButton(button, id);
    return button;
}

} // namespace

ConfigDialog::ConfigDialog(Settings &settings, QWidget *launcher, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("config"));
    setWindowTitle(QStringLiteral("Configuration du CAT"));
    setFixedSize(ui::px(6300), ui::px(4440));
    buildControls();
    Form_Load();
}

ConfigDialog::~ConfigDialog()
{
    // However the dialog went away, the label no longer shows it open.
    setLauncherColor(false);
}

void ConfigDialog::buildControls()
{
    QGroupBox *port = frame(this, "FramePort", QStringLiteral("Port"), 180, 120, 2880, 1260);
    m_port = new QButtonGroup(this);
    Option_com1 = option(m_port, 1, port, "Option_com1", QStringLiteral("Com1"), 240, 390, 1200);
    Option_com2 = option(m_port, 2, port, "Option_com2", QStringLiteral("Com2"), 1560, 390, 1200);
    Option_com3 = option(m_port, 3, port, "Option_com3", QStringLiteral("Com3"), 240, 810, 1200);
    Option_com4 = option(m_port, 4, port, "Option_com4", QStringLiteral("Com4"), 1560, 810, 1200);

    QGroupBox *delay = frame(this, "FrameDelay", QStringLiteral("Temporisation du flux"), 3240, 120, 2880, 1260);
    m_delay = new QButtonGroup(this);
    Option_200 = option(m_delay, 200, delay, "Option_200", QStringLiteral("200ms"), 240, 390, 1200);
    Option_300 = option(m_delay, 300, delay, "Option_300", QStringLiteral("300ms"), 1560, 390, 1200);
    Option_400 = option(m_delay, 400, delay, "Option_400", QStringLiteral("400ms"), 240, 810, 1200);
    Option_600 = option(m_delay, 600, delay, "Option_600", QStringLiteral("600ms"), 1560, 810, 1200);

    QGroupBox *speed = frame(this, "FrameSpeed", QStringLiteral("Vitesse de dialogue TRX / PC"), 180, 1500, 5940, 840);
    m_speed = new QButtonGroup(this);
    O_4800 = option(m_speed, 4800, speed, "O_4800", QStringLiteral("4800"), 240, 390, 1500);
    O_9600 = option(m_speed, 9600, speed, "O_9600", QStringLiteral("9600"), 2220, 390, 1500);
    O_57600 = option(m_speed, 57600, speed, "O_57600", QStringLiteral("57600"), 4200, 390, 1500);

    // Exclusive within each frame, yet none is selected until the file or the operator picks one.
    for (QButtonGroup *group : {m_port, m_delay, m_speed})
        group->setExclusive(true);

    QGroupBox *identification
        = frame(this, "FrameIdentification", QStringLiteral("Identification"), 180, 2460, 5940, 1320);
    auto field = [identification, this](const char *name, const QString &caption, int top, int width, int maxLength) {
        auto *label = new QLabel(caption, identification);
        label->setGeometry(ui::rectTw(240, top, 1920, 360));
        auto *edit = new QLineEdit(identification);
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(ui::rectTw(2220, top, width, 360));
        edit->setMaxLength(maxLength);
        // The limit is for typing: a longer text loaded from setting.ini is shown and saved whole, and the limit
        // closes in on it only as the operator shortens it.
        connect(edit, &QLineEdit::textChanged, edit, [edit, maxLength](const QString &text) {
            const int allowed = qMax(maxLength, qMin(edit->maxLength(), int(text.size())));
            if (allowed == edit->maxLength())
                return;
            const int cursor = edit->cursorPosition();
            edit->setMaxLength(allowed);
            edit->setCursorPosition(cursor);
        });
        edit->setAccessibleName(caption);
        label->setBuddy(edit);
        return edit;
    };
    Text1 = field("Text1", QStringLiteral("Votre Indicatif:"), 390, 1980, 10);
    Text2 = field("Text2", QStringLiteral("Votre Locator:"), 840, 1320, 6);
    KeyAsciiFilter::install(Text1, [this](int &KeyAscii) { Text1_KeyPress(KeyAscii); });
    KeyAsciiFilter::install(Text2, [this](int &KeyAscii) { Text2_KeyPress(KeyAscii); });

    Comvalid = new QPushButton(QStringLiteral("Valider"), this);
    Comvalid->setObjectName(QStringLiteral("Comvalid"));
    Comvalid->setGeometry(ui::rectTw(3240, 3900, 1380, 420));
    ComX = new QPushButton(QStringLiteral("X"), this);
    ComX->setObjectName(QStringLiteral("ComX"));
    ComX->setGeometry(ui::rectTw(4740, 3900, 1380, 420));
    ComX->setAccessibleDescription(QStringLiteral("Fermer sans enregistrer"));
    ComX->setToolTip(QStringLiteral("Fermer sans enregistrer"));
    // No default button: Enter in a field must not save a half-typed callsign. A dialog makes the focused push
    // button the default unless it is told not to; Space presses a focused button.
    for (QPushButton *button : {Comvalid, ComX})
        button->setAutoDefault(false);
    connect(Comvalid, &QPushButton::clicked, this, &ConfigDialog::Comvalid_Click);
    connect(ComX, &QPushButton::clicked, this, &ConfigDialog::ComX_Click);

    const QList<QWidget *> order {Option_com1, Option_com2, Option_com3, Option_com4, Option_200, Option_300,
        Option_400, Option_600, O_4800, O_9600, O_57600, Text1, Text2, Comvalid, ComX};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void ConfigDialog::setLauncherColor(bool open)
{
    if (m_launcher)
        look::setBackColor(m_launcher, open ? look::Teal : look::Navy);
}

void ConfigDialog::Form_Load()
{
    setLauncherColor(true);
    if (m_settings.read() == Settings::ReadResult::Missing) {
        // A first start: the port is for the operator to choose, the slowest speed and shortest delay are
        // offered so that choosing a port alone gives a line that opens.
        m_settings.FlowDelay = QStringLiteral("200");
        m_settings.PortSettings = speedSettings(4800);
    }
    // A hand-edited value that is not one of the choices (or not a number at all) leaves its frame unselected.
    if (QAbstractButton *button = m_port->button(numericValue(m_settings.PortNumber)))
        button->setChecked(true);
    if (QAbstractButton *button = m_delay->button(numericValue(m_settings.FlowDelay)))
        button->setChecked(true);
    for (QAbstractButton *button : m_speed->buttons()) {
        if (speedSettings(m_speed->id(button)) == m_settings.PortSettings)
            button->setChecked(true);
    }
    // A stored text longer than the field's typing limit (an older or hand-edited file) is shown whole.
    for (auto [field, text] : {std::pair {Text1, &m_settings.Callsign}, {Text2, &m_settings.Locator}}) {
        field->setMaxLength(qMax(field->maxLength(), int(text->size())));
        field->setText(*text);
    }

    // Tab stops once in each frame, on its selected choice (or its first); the arrows move within the frame.
    for (const QButtonGroup *group : {m_port, m_delay, m_speed}) {
        const QAbstractButton *stop = group->checkedButton() ? group->checkedButton() : group->buttons().constFirst();
        for (QAbstractButton *button : group->buttons())
            button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void ConfigDialog::Comvalid_Click()
{
    // The shared values change only once the file holds them, so a failed save leaves both as they were.
    Settings next = m_settings;
    next.Callsign = Text1->text();
    next.Locator = Text2->text();
    if (m_port->checkedId() > 0)
        next.PortNumber = QString::number(m_port->checkedId());
    if (m_delay->checkedId() > 0)
        next.FlowDelay = QString::number(m_delay->checkedId());
    if (m_speed->checkedId() > 0)
        next.PortSettings = speedSettings(m_speed->checkedId());

    QString error;
    if (!next.write(&error)) {
        // The dialog stays open so that nothing typed is lost: the operator can free the directory and try again.
        ui::showMessage(QStringLiteral("Erreur : la configuration n'a pas pu être enregistrée (%1).\n"
                                       "Le fichier setting.ini précédent est conservé.")
                            .arg(error),
            ui::MsgIcon::Error);
        return;
    }
    m_settings = next;
    ui::showMessage(QStringLiteral(" Pour valider la configuration quitter et relancer le programme SVP"));
    setLauncherColor(false);
    accept();
}

void ConfigDialog::ComX_Click()
{
    setLauncherColor(false);
    QDialog::reject();
}

void ConfigDialog::reject()
{
    ComX_Click();
}

void ConfigDialog::Text1_KeyPress(int &KeyAscii)
{
    KeyAscii = upperTyped(KeyAscii);
}

void ConfigDialog::Text2_KeyPress(int &KeyAscii)
{
    KeyAscii = upperTyped(KeyAscii);
}
