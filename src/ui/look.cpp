#include "look.h"

#include "clicklabel.h"
#include "lamp.h"

#include <QAccessibleWidget>
#include <QFontDatabase>
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

class ClickLabelAccessible : public QAccessibleWidget
{
public:
    explicit ClickLabelAccessible(ClickLabel *label)
        : QAccessibleWidget(label, QAccessible::Button)
    {
    }
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

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("ClickLabel"))
        return new ClickLabelAccessible(static_cast<ClickLabel *>(object));
    if (className == QLatin1String("Lamp"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Indicator);
    return nullptr;
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

} // namespace look
