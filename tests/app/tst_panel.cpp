// The main window as an operator meets it: start-up, the navigation row, folding, quitting, the about box,
// what a screen reader is told, and pictures of each state for review.

#include "clicklabel.h"
#include "clock.h"
#include "dialogs.h"
#include "ft847window.h"
#include "lamp.h"
#include "look.h"
#include "panelfixture.h"
#include "translations.h"
#include "twips.h"

#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class TestPanel : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PanelFixture> f;

    int heightTwips() { return f->program().window.heightTwips(); }

private slots:
    void init()
    {
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start());
    }
    void cleanup() { f.reset(); }

    void startUpState()
    {
        Ft847Controls &c = f->c();
        QCOMPARE(c.ft_847->windowTitle(), u"Orvane FT847 V2.5"_s);
        QCOMPARE(heightTwips(), Ft847Window::kFoldedTwips);
        QCOMPARE(look::backColor(c.ft_847), QColor(0xC0, 0xC0, 0xC0));
        QVERIFY(c.Lab_c_on->isVisible() && !c.Lab_c_off->isVisible());
        QVERIFY(!c.Lab_mem->isEnabled() && !c.LabLocat->isEnabled());
        QVERIFY(c.Labquit->isEnabled() && c.LabConf->isEnabled() && c.LabPropos->isEnabled());
        QVERIFY(!c.Frame1->isEnabled());
        for (QWidget *w : c.panelSet())
            QCOMPARE(look::backColor(w), look::PanelOff);
        QCOMPARE(f->program().frequency.CurrentFreq, u"14550000"_s);
        QCOMPARE(c.Lab_control->text(), u"14550000"_s);
        QVERIFY(c.L_mode2->text().isEmpty()); // nothing keeps the second VFO's mode
        QCOMPARE(c.LabHeure->text(), u"00:00"_s);
        QCOMPARE(c.LabDate->text(), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
        QVERIFY(!c.Timer1->isActive() && c.Timer2->isActive());
        QVERIFY(f->program().poll.TxActive && !f->program().poll.SquelchOpen);
        // The lists are filled without losing the text each combo box shows.
        QCOMPARE(c.Combo_pas->currentText(), u"25"_s);
        QCOMPARE(c.Combo_pas->count(), 9);
        QCOMPARE(c.Combo_vitesse->currentText(), u"1"_s);
        QCOMPARE(c.Combo_vitesse->itemText(0), QLocale().toString(0.5));
        QCOMPARE(c.Combo_Seuil->currentText(), u"Buzy"_s);
        QCOMPARE(c.Combo1->currentText(), u"VHF"_s);
        QCOMPARE(c.Combo1->count(), 9);
        QCOMPARE(c.Comb_mem_mode->currentText(), u"FM"_s);
        QTest::qWait(50);
        QVERIFY(f->frames().isEmpty());
    }

    void clockShowsHoursAndMinutes()
    {
        ui::setClockOverride([] { return QDateTime(QDate(2026, 12, 6), QTime(9, 5, 59)); });
        QVERIFY(PanelFixture::waitFor([&] { return f->c().LabHeure->text() == u"09:05"_s; }, 3s));
        ui::setClockOverride({});
    }

    void memoireFoldsAndArretKeepsTheClickCount()
    {
        QVERIFY(f->switchOn());
        f->c().Lab_mem->click();
        QCOMPARE(heightTwips(), Ft847Window::kUnfoldedTwips);
        QCOMPARE(look::backColor(f->c().Lab_mem), look::Teal);
        f->c().Lab_mem->click();
        QCOMPARE(heightTwips(), Ft847Window::kFoldedTwips);
        QCOMPARE(look::backColor(f->c().Lab_mem), look::Navy);
        // "Arret" folds the panel but leaves the count of clicks as it was.
        f->c().Lab_mem->click();
        f->c().Lab_c_off->click();
        QCOMPARE(heightTwips(), Ft847Window::kFoldedTwips);
        QCOMPARE(look::backColor(f->c().Lab_mem), look::Navy);
        QVERIFY(f->switchOn());
        f->c().Lab_mem->click(); // the second click of the pair: folds, which it already is
        QCOMPARE(heightTwips(), Ft847Window::kFoldedTwips);
        f->c().Lab_mem->click();
        QCOMPARE(heightTwips(), Ft847Window::kUnfoldedTwips);
    }

    void quitterAtStartUpSendsNothing()
    {
        f->c().Labquit->click();
        QVERIFY(f->program().window.isHidden());
        QTest::qWait(50);
        QVERIFY(f->frames().isEmpty());
        QVERIFY(f->messages.isEmpty());
    }

    void closingWhileOnSendsCatOff()
    {
        QVERIFY(f->switchOn());
        f->program().window.close();
        QVERIFY(f->waitForLastFrame(PanelFixture::frame({0, 0, 0, 0, 0x80})));
        QVERIFY(!f->program().port.portOpen());
        QVERIFY(!f->sim().catOn());
    }

    void aboutBoxShowsWhileOpen()
    {
        QString title;
        QStringList texts;
        QColor whileOpen;
        ui::setModalHandler([&](QDialog &box) {
            title = box.windowTitle();
            for (const QLabel *l : box.findChildren<QLabel *>())
                texts << l->text();
            whileOpen = look::backColor(f->c().LabPropos);
            box.accept();
            return int(QDialog::Accepted);
        });
        f->c().LabPropos->click();
        QCOMPARE(title, u"À propos"_s);
        QVERIFY(texts.contains(u"Orvane FT847V2.5"_s));
        QVERIFY(texts.contains(u" Programme de contrôle FT847 / PC sous Windows95 "_s));
        QVERIFY(texts.filter(u"2.5.0"_s).size() == 1 && texts.filter(u"01/2001"_s).size() == 1);
        QCOMPARE(whileOpen, look::Teal);
        QCOMPARE(look::backColor(f->c().LabPropos), look::Navy);
    }

    void navigationLabelsAreButtons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const QList<std::pair<const char *, QString>> rows
            = {{"Lab_c_on", u"Marche"_s}, {"Lab_mem", u"Memoire"_s}, {"LabLocat", u"Locator"_s},
                {"LabConf", u"Configuration"_s}, {"LabPropos", u"A propos"_s}, {"Labquit", u"Quitter"_s}};
        for (const auto &[name, caption] : rows)
            QTest::newRow(name) << QString::fromLatin1(name) << caption;
    }
    void navigationLabelsAreButtons()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        auto *label = f->program().window.findChild<ClickLabel *>(name);
        QVERIFY(label);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(label);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Button);
        QCOMPARE(a->text(QAccessible::Name), caption);
        QVERIFY(a->actionInterface()
            && a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QCOMPARE(label->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    }

    void keyboardDrivesTheNavigationRow()
    {
        f->c().Lab_c_on->setFocus();
        QTest::keyClick(f->c().Lab_c_on, Qt::Key_Space);
        QVERIFY(f->waitForFrames(1));
        QVERIFY(f->sim().catOn());
        f->c().Lab_mem->setFocus();
        QTest::keyClick(f->c().Lab_mem, Qt::Key_Return);
        QCOMPARE(heightTwips(), Ft847Window::kUnfoldedTwips);
    }

    void screenReaderNames_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("name");
        const std::pair<const char *, const char *> steps[] = {{"h", "10 Hz"}, {"hh", "100 Hz"}, {"k", "1 kHz"},
            {"kk", "10 kHz"}, {"kkk", "100 kHz"}, {"m", "1 MHz"}, {"mm", "10 MHz"}};
        for (const auto &[suffix, step] : steps) {
            QTest::addRow("Com_p%s", suffix) << u"Com_p"_s + QLatin1String(suffix) << u"Plus "_s + QLatin1String(step);
            QTest::addRow("Com_m%s", suffix) << u"Com_m"_s + QLatin1String(suffix) << u"Moins "_s + QLatin1String(step);
        }
        const QList<std::pair<const char *, QString>> rows
            = {{"FreqDisplay", u"Fréquence 145.500.00"_s}, {"TextVfo1", u"Fréquence en kHz"_s},
                {"Textdep", u"Départ"_s}, {"Textariv", u"Arriver"_s}, {"Combo_pas", u"Pas/Khz"_s},
                {"Combo_vitesse", u"Vitesse/s"_s}, {"Combo_Seuil", u"Seuil/s-m"_s}, {"Text_choix_qrg", u"Fréquence"_s},
                {"Comb_mem_mode", u"Mode"_s}, {"Combo1", u"Groupe"_s}, {"Text_choix_observ", u"Observation"_s}};
        for (const auto &[object, name] : rows)
            QTest::newRow(object) << QString::fromLatin1(object) << name;
    }
    void screenReaderNames()
    {
        QFETCH(QString, object);
        QFETCH(QString, name);
        auto *w = f->program().window.findChild<QWidget *>(object);
        QVERIFY(w);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), name);
    }

    // A typed value is taken as typed: no completion from the box's list.
    void typedValuesStayAsTyped_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("typed");
        QTest::newRow("Pas/Khz") << u"Combo_pas"_s << u"2"_s;
        QTest::newRow("Vitesse/s") << u"Combo_vitesse"_s << u"0"_s;
        QTest::newRow("Seuil/s-m") << u"Combo_Seuil"_s << u"B"_s;
        QTest::newRow("Mode") << u"Comb_mem_mode"_s << u"c"_s;
        QTest::newRow("Groupe") << u"Combo1"_s << u"vhf"_s;
    }
    void typedValuesStayAsTyped()
    {
        QFETCH(QString, object);
        QFETCH(QString, typed);
        QVERIFY(f->switchOn());
        auto *combo = f->program().window.findChild<QComboBox *>(object);
        QVERIFY(combo);
        f->program().window.activateWindow();
        combo->setFocus();
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), typed);
        QCOMPARE(combo->currentText(), typed);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);
        QCOMPARE(combo->currentText(), typed);
    }

    // Qt's own texts are French whatever the locale: the right-click menu of a text field.
    void qtSpeaksFrench()
    {
        QVERIFY(ui::loadQtFrench());
        std::unique_ptr<QMenu> menu(f->c().TextVfo1->createStandardContextMenu());
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts << action->text().section(u'\t', 0, 0); // the shortcut follows a TAB
        QVERIFY2(texts.contains(u"&Annuler"_s) && texts.contains(u"Tout sélectionner"_s),
                 qPrintable(texts.join(u'|')));
    }

    void lightsAnnounceTheirState()
    {
        QVERIFY(f->switchOn());
        f->sim().setSquelchOpen(true);
        QVERIFY(PanelFixture::waitFor([&] { return f->c().ShapbuzyA->accessibleName() == u"Occupé"_s; }, 3s));
        QAccessibleInterface *busy = QAccessible::queryAccessibleInterface(f->c().ShapbuzyA);
        QCOMPARE(busy->role(), QAccessible::Graphic);
        QCOMPARE(busy->text(QAccessible::Name), u"Occupé"_s);
        QCOMPARE(QAccessible::queryAccessibleInterface(f->c().Shape_tx_rx)->text(QAccessible::Name), u"Réception"_s);
        f->sim().setSquelchOpen(false);
        QVERIFY(PanelFixture::waitFor([&] { return busy->text(QAccessible::Name) == u"Libre"_s; }, 3s));
    }

    void picturesForReview()
    {
        f->screenshot(u"panel-off-folded"_s);
        QVERIFY(f->switchOn());
        f->sim().setFrequency(14420000);
        f->sim().setSMeter(20);
        f->sim().setSquelchOpen(true);
        QVERIFY(PanelFixture::waitFor([&] { return f->c().Label2->text() == u"2600"_s; }, 3s));
        f->screenshot(u"panel-on-folded"_s);
        f->c().Lab_mem->click();
        f->screenshot(u"panel-on-unfolded"_s);
        f->c().Lab_c_off->click();
        f->program().shell.memoryPanelClicks = 0;
        f->program().window.setHeightTwips(Ft847Window::kUnfoldedTwips);
        f->screenshot(u"panel-off-unfolded"_s);
        const QImage picture = f->program().window.grab().toImage();
        QCOMPARE(picture.height(), ui::px(Ft847Window::kUnfoldedTwips) * int(picture.devicePixelRatio()));
    }
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
