#include "look.h"

#include "clicklabel.h"
#include "lamp.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace look {

void setBackColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Window, color);
        pal.setColor(group, QPalette::Base, color);
    }
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

QColor backColor(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Window);
}

void setForeColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::WindowText, color);
        pal.setColor(group, QPalette::Text, color);
    }
    widget->setPalette(pal);
}

QFont fixedFont(int pixelSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(pixelSize);
    return font;
}

namespace {

const char *const kCaptionProperty = "orvaneAccessibleCaption";
const char *const kRoleProperty = "orvaneAccessibleRole";
const char *const kWholeProperty = "orvaneAccessibleWhole";

// Every interface made here derives from this, so that one Qt made earlier can be told apart and replaced.
class OwnAccessible : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;
};

class ClickLabelAccessible : public OwnAccessible
{
public:
    explicit ClickLabelAccessible(ClickLabel *label)
        : OwnAccessible(label, QAccessible::Button)
    { }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<ClickLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            static_cast<ClickLabel *>(widget())->click();
    }
};

// A label showing a value: its caption and its text. QLabel announces its own text changes as name changes.
class ValueLabelAccessible : public OwnAccessible
{
public:
    explicit ValueLabelAccessible(QLabel *label)
        : OwnAccessible(label, QAccessible::StaticText)
    { }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const QString caption = widget()->property(kCaptionProperty).toString();
        const QString shown = static_cast<QLabel *>(widget())->text();
        return shown.isEmpty() ? caption : caption + u' ' + shown;
    }
};

// One item whatever it holds: no children for a screen reader to wade through.
class WholeAccessible : public OwnAccessible
{
public:
    using OwnAccessible::OwnAccessible;
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
};

// Qt's own combo box interface takes the text it holds as its name on Linux, so that "Pas/Khz" would be read as
// "25". This one is named by its accessible name and keeps the text as its value, which a screen reader reads
// from the line edit of an editable box. A box that cannot be edited has no such line, and the bridge offers no
// selection to read the chosen item from: its name carries the value after the caption ("Latitude Direction
// Nord"). Its children are Qt's: the popup list, and the line edit of an editable box.
class ComboAccessible : public OwnAccessible
{
public:
    explicit ComboAccessible(QComboBox *combo)
        : OwnAccessible(combo, QAccessible::ComboBox)
    { }
    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }
    QString text(QAccessible::Text t) const override
    {
        const QString value = combo()->isEditable() ? combo()->lineEdit()->text() : combo()->currentText();
        const QString caption = widget()->accessibleName();
        if (t == QAccessible::Value || (t == QAccessible::Name && caption.isEmpty()))
            return value;
        if (t == QAccessible::Name && !combo()->isEditable() && !value.isEmpty())
            return caption + u' ' + value;
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return combo()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && combo()->isEditable())
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && child->object() == combo()->view())
            return 0;
        if (child && combo()->isEditable() && child->object() == combo()->lineEdit())
            return 1;
        return -1;
    }
    QAccessibleInterface *focusChild() const override { return combo()->isEditable() ? child(1) : nullptr; }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    const QVariant role = widget->property(kRoleProperty);
    if (role.isValid()) {
        const auto r = QAccessible::Role(role.toInt());
        if (widget->property(kWholeProperty).toBool())
            return new WholeAccessible(widget, r);
        return new OwnAccessible(widget, r);
    }
    if (className == QLatin1String("ClickLabel"))
        return new ClickLabelAccessible(static_cast<ClickLabel *>(object));
    if (className == QLatin1String("Lamp"))
        return new OwnAccessible(widget, QAccessible::Graphic);
    if (className == QLatin1String("QComboBox"))
        return new ComboAccessible(static_cast<QComboBox *>(object));
    if (className == QLatin1String("QLabel") && widget->property(kCaptionProperty).isValid())
        return new ValueLabelAccessible(static_cast<QLabel *>(object));
    return nullptr;
}

// A widget's interface is made at its first use and kept: one Qt made before the widget was marked (a label's
// constructor announces its text) is dropped, so that the next use makes it here.
void adopt(QWidget *widget)
{
    installAccessibility();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    if (iface && !dynamic_cast<OwnAccessible *>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        installed = true;
    }
}

void nameWithValue(QLabel *label, const QString &caption)
{
    label->setProperty(kCaptionProperty, caption);
    adopt(label);
}

void speakAsOne(QWidget *widget, QAccessible::Role role)
{
    widget->setProperty(kWholeProperty, true);
    setAccessibleRole(widget, role);
}

void setAccessibleRole(QWidget *widget, QAccessible::Role role)
{
    widget->setProperty(kRoleProperty, int(role));
    adopt(widget);
}

} // namespace look
