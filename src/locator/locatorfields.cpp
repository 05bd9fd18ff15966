#include "locatorfields.h"

#include "keys.h"
#include "messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct RangeRule
{
    int width; // digits of the formatted text that is compared
    const char16_t *limit;
    const char16_t *message;
};

const RangeRule Ranges[CoordinateFieldCount] = {
    {2, u"89", u"Erreur : Degrés Latitude de 0 à 89"},
    {2, u"59", u"Erreur : Minutes Latitude de 0 à 59"},
    {2, u"59", u"Erreur : Secondes Latitude de 0 à 59"},
    {3, u"179", u"Erreur : Degrés Longitude de 0 à 179"},
    {2, u"59", u"Erreur : Minutes Longitude de 0 à 59"},
    {2, u"59", u"Erreur : Secondes Longitude de 0 à 59"},
};

// Letters typed in either locator field arrive as capitals.
void upperCaseRule(int &KeyAscii)
{
    KeyAscii = keys::capital(KeyAscii);
}

} // namespace

LocatorFields::LocatorFields(LocatorControls &controls, QObject *parent)
    : QObject(parent)
    , m_c(controls)
{ }

void LocatorFields::coordinateChange(Station station, CoordinateField field)
{
    QLineEdit *edit = m_c.station(station).coordinates[field];
    const QString text = edit->text();
    if (text.isEmpty())
        return;
    const RangeRule &rule = Ranges[field];
    // Compared as text, formatted to the limit's width: the fields are too short for that to differ from the
    // numeric order.
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    if (!isNumber)
        return;
    const QString formatted = QStringLiteral("%1").arg(value, rule.width, 10, QLatin1Char('0'));
    const QString limit = QString::fromUtf16(rule.limit);
    if (formatted > limit) {
        ui::showMessage(QString::fromUtf16(rule.message), ui::MsgIcon::Error);
        edit->setText(limit);
    }
}

void LocatorFields::coordinateKeyPress(Station station, CoordinateField field, int &KeyAscii)
{
    if (station == Station::Own && m_c.Check_Sauve->isChecked()) {
        KeyAscii = 0;
        return;
    }
    m_c.station(station).loc->clear();
    if (KeyAscii == keys::Backspace)
        return;
    if (KeyAscii < '0' || KeyAscii > '9') {
        ui::showMessage(QStringLiteral("erreur : chiffre uniquement."));
        KeyAscii = keys::Backspace;
        m_c.station(station).coordinates[field]->clear();
    }
}

void LocatorFields::Text_M_Loc_KeyPress(int &KeyAscii)
{
    upperCaseRule(KeyAscii);
}

void LocatorFields::Text_S_Loc_KeyPress(int &KeyAscii)
{
    upperCaseRule(KeyAscii);
    if (KeyAscii == keys::Enter)
        emit correspondentResetAsked();
    else if (KeyAscii == keys::Backspace)
        emit correspondentLocatorErased();
}

void LocatorFields::Text_M_Loc_Change()
{
    Gest_Erreur();
}

void LocatorFields::Text_S_Loc_Change()
{
    const QString typed = m_c.Text_S_Loc->text();
    if (typed.size() != 6)
        return;
    if (typed == m_c.Text_M_Loc->text()) {
        ui::showMessage(QStringLiteral("Erreur: les Locators sont identiques."));
        return;
    }
    emit correspondentLocatorTyped();
}

void LocatorFields::Gest_Erreur()
{
    bool allFilled = true;
    for (const Station station : {Station::Own, Station::Correspondent}) {
        for (const QLineEdit *field : m_c.station(station).coordinates)
            allFilled = allFilled && !field->text().isEmpty();
    }
    m_c.ComDistance->setEnabled(allFilled);
}

void LocatorFields::Check_Sauve_Click()
{
    const bool locked = m_c.Check_Sauve->isChecked();
    m_c.Com_M_RAZ->setEnabled(!locked);
    // Beyond the typed keys that the filter discards, the lock also keeps out Delete, cutting and pasting.
    for (QLineEdit *field : m_c.station(Station::Own).coordinates)
        field->setReadOnly(locked);
}

void LocatorFields::Comb_M_EO_GotFocus()
{
    m_c.Text_M_Loc->clear();
}

void LocatorFields::Comb_M_NS_GotFocus()
{
    m_c.Text_M_Loc->clear();
}

void LocatorFields::Comb_S_EO_GotFocus()
{
    m_c.Text_S_Loc->clear();
}

void LocatorFields::Comb_S_NS_GotFocus()
{
    m_c.Text_S_Loc->clear();
}
