#pragma once

// Scenario tables: one row per case, the operator's actions in turn and what the window shows after.
// Actions, separated by ";": "Name" clicks a button or label ("Name*3" three times), "Name=text" sets its text
// ("Name.property=value" any property), "Name<keys" tabs to it and types, "Name%text" commits text as an input
// method composes it, "Name+Ctrl+V" presses keys, "Name^n" turns the wheel n notches over it, "Name@n" clicks row n
// of a list or grid ("Name@@n" double-clicks it), "Name>n" chooses item n of a combo box's list, "Name!" gives it
// the focus as a click does; "clipboard=text" fills the clipboard; "~action" happens at the next turn of the event
// loop. Shown, separated by "|": "Name=text" as above
// (a list as its items joined by ","), "focus=" the control with the focus, "messages=" the texts of the messages
// shown joined by "+" (a row that names none expects none). A table's own names come first.

#include "look.h"
#include "messagebox.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class Scenario : public QObject
{
    Q_OBJECT

protected:
    virtual void rows() = 0;
    virtual QWidget *root() = 0;
    virtual QList<ui::ShownMessage> &messages() = 0;
    virtual bool special(const QString &name, const QString &value) = 0;
    virtual std::optional<QString> specialRead(const QString &target) = 0; // nothing: not the table's own
    virtual void verify() { } // what holds after every row

    static void row(const char *name, const QByteArray &actions, const QByteArray &shown = {})
    {
        QTest::newRow(name) << QString::fromUtf8(actions) << QString::fromUtf8(shown);
    }
    QObject *control(const QString &name)
    {
        if (name == u"focus" || !root())
            return QApplication::focusWidget();
        return root()->objectName() == name ? root() : root()->findChild<QObject *>(name);
    }
    static QByteArray propertyOf(const QString &target, const QObject *control)
    {
        return target.contains(u'.') ? target.section(u'.', 1).toLatin1()
                                     : QByteArray(control->inherits("QComboBox") ? "currentText" : "text");
    }
    QString read(const QString &target)
    {
        QStringList texts;
        QObject *found = control(target.section(u'.', 0, 0));
        if (const std::optional<QString> own = specialRead(target))
            return *own;
        if (target == u"focus")
            return found ? found->objectName() : QString();
        for (const ui::ShownMessage &m : messages())
            texts << m.text;
        if (target == u"messages")
            return texts.join(u'+');
        if (auto *list = qobject_cast<QListWidget *>(found); list && !target.contains(u'.')) {
            texts.clear();
            for (int row = 0; row < list->count(); ++row)
                texts << list->item(row)->text();
            return texts.join(u',');
        }
        return found ? found->property(propertyOf(target, found)).toString() : u"(none)"_s;
    }
    void act(const QString &actions)
    {
        static const QRegularExpression grammar(
            u"^(\\w+)(\\.\\w+)?(?:(@@|[=<^!>@+%])(.*))?$"_s, QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression repeated(u"^(\\w+.*)\\*(\\d+)$"_s);
        for (const QString &step : actions.split(u';', Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch times = repeated.match(step), m = grammar.match(step);
            const QString name = m.captured(1), how = m.captured(3), value = m.captured(4);
            auto *widget = qobject_cast<QWidget *>(control(name));
            auto *combo = qobject_cast<QComboBox *>(widget);
            if (step.startsWith(u'~')) {
                QTimer::singleShot(0, this, [this, step] { act(step.mid(1)); });
            } else if (times.hasMatch()) {
                for (int i = 0; i < times.captured(2).toInt(); ++i)
                    act(times.captured(1));
            } else if (special(name + m.captured(2) + how, value)) {
            } else if (name == u"clipboard") {
                QGuiApplication::clipboard()->setText(value);
            } else if (how == u"=") {
                widget->setProperty(propertyOf(name + m.captured(2), widget), value);
            } else if (how == u"<") {
                widget->setFocus(Qt::TabFocusReason); // as the operator reaches it: its text selected
                for (const QChar c : value) // beyond ASCII, the key of a keyboard that has it (named after the capital)
                    QTest::sendKeyEvent(QTest::Click, combo ? combo->lineEdit() : widget,
                        c.unicode() < 128 ? QTest::asciiToKey(char(c.unicode()))
                                          : Qt::Key(c.unicode() < 256 ? c.toUpper().unicode() : int(Qt::Key_unknown)),
                        QString(c), {});
            } else if (how == u"%") {
                QInputMethodEvent composed;
                composed.setCommitString(value);
                QCoreApplication::sendEvent(widget, &composed);
            } else if (how == u"+") {
                const QKeyCombination keys = QKeySequence::fromString(value)[0];
                QTest::keyClick(widget, keys.key(), keys.keyboardModifiers());
            } else if (how == u"^") {
                QWheelEvent wheel({5, 5}, {5, 5}, {}, {0, 120 * value.toInt()}, {}, {}, Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(widget, &wheel);
            } else if (auto *view = qobject_cast<QAbstractItemView *>(widget); view && how.startsWith(u'@')) {
                const QModelIndex index = view->model()->index(value.toInt(), view->model()->columnCount() > 1);
                view->scrollTo(index);
                const QPoint at = view->visualRect(index).center();
                if (how == u"@")
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
                else // through the window, so that press, release, press make the double-click
                    QTest::mouseDClick(view->window()->windowHandle(), Qt::LeftButton, {},
                        view->viewport()->mapTo(view->window(), at));
            } else if (how == u">") {
                combo->setCurrentIndex(value.toInt());
                emit combo->activated(value.toInt());
            } else if (how == u"!") {
                widget->setFocus(Qt::MouseFocusReason);
            } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
                button->click();
            } else {
                QTest::mouseClick(widget, Qt::LeftButton);
            }
        }
    }

private slots:
    void scenario_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("shown");
        rows();
    }
    void scenario()
    {
        QFETCH(QString, actions);
        QFETCH(QString, shown);
        act(actions);
        QStringList actual;
        for (const QString &pair : shown.split(u'|', Qt::SkipEmptyParts))
            actual << pair.section(u'=', 0, 0) + u'=' + read(pair.section(u'=', 0, 0));
        QCOMPARE(actual.join(u'|'), shown);
        QVERIFY2(shown.contains(u"messages=") || messages().isEmpty(), qPrintable(read(u"messages"_s)));
        verify();
    }
};

// A window on its own: the main window's label that opens it stood in by a plain label ("launcher=" reads its
// colour, teal while the window is open), its messages recorded.
class WindowScenario : public Scenario
{
protected:
    QLabel m_launcher;
    QList<ui::ShownMessage> m_shown;

    ~WindowScenario() override { ui::setMessageHandler({}); }
    QList<ui::ShownMessage> &messages() override { return m_shown; }
    std::optional<QString> specialRead(const QString &target) override
    {
        if (target != u"launcher")
            return std::nullopt;
        return look::backColor(&m_launcher) == look::Teal ? u"teal"_s : u"navy"_s;
    }
    void fresh() // before each case
    {
        m_shown.clear();
        ui::setMessageHandler([this](const ui::ShownMessage &m) { m_shown.append(m); });
        look::setBackColor(&m_launcher, look::Navy);
    }
};
