#include "apppaths.h"
#include "clicklabel.h"
#include "configdialog.h"
#include "dialogs.h"
#include "look.h"
#include "messagebox.h"
#include "panelfixture.h"
#include "settings.h"
#include "textfile.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kStandardLine = R"("3","400","9600,n,8,2","F6ABC","JN18EU")";
const QString kRestart = u" Pour valider la configuration quitter et relancer le programme SVP"_s;

QStringList values(const Settings &s)
{
    return {s.PortNumber, s.FlowDelay, s.PortSettings, s.Callsign, s.Locator};
}

// The names of the checked option buttons, sorted: two in one frame would show a broken exclusivity.
QStringList checkedOptions(const QDialog &d)
{
    QStringList names;
    for (const QRadioButton *o : d.findChildren<QRadioButton *>()) {
        if (o->isChecked())
            names << o->objectName();
    }
    names.sort();
    return names;
}

// Typed key by key. QTest knows the keys of ASCII only; any other character is sent as the key press a keyboard
// with that key makes (for Latin-1 letters Qt names the key after the capital).
void type(QLineEdit *field, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClicks(field, QString(ch));
        } else {
            const auto key = ch.unicode() < 256 ? Qt::Key(ch.toUpper().unicode()) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, field, key, QString(ch), Qt::NoModifier);
        }
    }
}

} // namespace

class TestConfigDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Settings m_settings;
    std::unique_ptr<QLabel> m_launcher;
    QList<ui::ShownMessage> m_messages;

    QString path(const QString &name = u"setting.ini"_s) const { return m_dir.filePath(name); }
    void writeLine(const QByteArray &line)
    {
        QFile::remove(path());
        if (line.isNull())
            return;
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(line + "\r\n");
    }
    QByteArray fileBytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<ConfigDialog> open()
    {
        auto dialog = std::make_unique<ConfigDialog>(m_settings, m_launcher.get());
        dialog->show();
        return dialog;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_launcher = std::make_unique<QLabel>(u"Configuration"_s);
    }
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
        apppaths::setAppDirOverride(m_dir.path());
        m_settings = Settings();
        m_messages.clear();
        ui::setMessageHandler([this](const ui::ShownMessage &m) { m_messages.append(m); });
        look::setBackColor(m_launcher.get(), look::Navy);
    }
    void cleanupTestCase()
    {
        ui::setMessageHandler({});
        apppaths::setAppDirOverride({});
    }

    void opensWithTheFileValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<QString>("callsign");
        QTest::addColumn<QString>("locator");
        QTest::newRow("port 3, 400, 9600")
            << kStandardLine << QStringList {u"O_9600"_s, u"Option_400"_s, u"Option_com3"_s} << u"F6ABC"_s
            << u"JN18EU"_s;
        QTest::newRow("empty port") << QByteArray(R"("","200","57600,n,8,2","","")")
                                    << QStringList {u"O_57600"_s, u"Option_200"_s} << QString() << QString();
        QTest::newRow("numbers with blanks and zeros")
            << QByteArray(R"(" 4 ","0600","4800,n,8,2","F1XYZ","IN88")")
            << QStringList {u"O_4800"_s, u"Option_600"_s, u"Option_com4"_s} << u"F1XYZ"_s << u"IN88"_s;
        QTest::newRow("not numbers, not a choice") << QByteArray(R"("COM2","3OO","9600,N,8,2","F6ABC","JN18EU")")
                                                   << QStringList() << u"F6ABC"_s << u"JN18EU"_s;
        QTest::newRow("longer than the fields")
            << QByteArray(R"("1","200","4800,n,8,2","F1ABCDEFGHIJ","JN18EU12")")
            << QStringList {u"O_4800"_s, u"Option_200"_s, u"Option_com1"_s} << u"F1ABCDEFGHIJ"_s << u"JN18EU12"_s;
        QTest::newRow("no file: first choices of speed and delay")
            << QByteArray() << QStringList {u"O_4800"_s, u"Option_200"_s} << QString() << QString();
    }
    void opensWithTheFileValues()
    {
        QFETCH(QByteArray, line);
        writeLine(line);
        auto d = open();
        QCOMPARE(d->windowTitle(), u"Configuration du CAT"_s);
        QCOMPARE(look::backColor(m_launcher.get()), look::Teal);
        QTEST(checkedOptions(*d), "checked");
        QTEST(d->Text1->text(), "callsign");
        QTEST(d->Text2->text(), "locator");
    }

    void validerWritesOneLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("callsign"); // typed over the field's text; null leaves it
        QTest::addColumn<QByteArray>("written");
        // Values that match no option are written back as they were, an empty port included.
        const QByteArray unmatched = R"("","250","19200,n,8,2","F6ABC","JN18EU")";
        QTest::newRow("empty port written back empty") << unmatched << QStringList() << QString() << unmatched;
        QTest::newRow("every choice changed")
            << kStandardLine << QStringList {u"Option_com2"_s, u"Option_600"_s, u"O_57600"_s} << u"f5xyz/p"_s
            << QByteArray(R"("2","600","57600,n,8,2","F5XYZ/P","JN18EU")");
        QTest::newRow("first save creates the file") << QByteArray() << QStringList {u"Option_com1"_s} << u"f6abc"_s
                                                     << QByteArray(R"("1","200","4800,n,8,2","F6ABC","")");
        // Longer texts than the fields take are saved whole until the operator edits them.
        const QByteArray longer = R"("3","400","9600,n,8,2","F1ABCDEFGHIJ","JN18EU12")";
        QTest::newRow("longer texts kept") << longer << QStringList {u"Option_com1"_s} << QString()
                                           << QByteArray(R"("1","400","9600,n,8,2","F1ABCDEFGHIJ","JN18EU12")");
        QTest::newRow("typing over a longer text stops at 10")
            << longer << QStringList() << u"f1abcdefghijk"_s
            << QByteArray(R"("3","400","9600,n,8,2","F1ABCDEFGH","JN18EU12")");
    }
    void validerWritesOneLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, choices);
        QFETCH(QString, callsign);
        QFETCH(QByteArray, written);
        writeLine(line);
        auto d = open();
        for (const QString &name : choices)
            QTest::mouseClick(d->findChild<QRadioButton *>(name), Qt::LeftButton);
        if (!callsign.isNull()) {
            d->Text1->clear();
            QTest::keyClicks(d->Text1, callsign);
        }
        QTest::mouseClick(d->Comvalid, Qt::LeftButton);

        QCOMPARE(fileBytes(), written + "\r\n");
        QVERIFY(!QFile::exists(path(u"Data.tmp"_s)));
        QCOMPARE(values(m_settings), textfile::parseRecords(written).value(0));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, kRestart);
        QCOMPARE(m_messages[0].icon, ui::MsgIcon::None);
        QCOMPARE(look::backColor(m_launcher.get()), look::Navy);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Accepted));
    }

    void keyFilter_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("lower case") << u"Text1"_s << u"f6abc/p"_s << u"F6ABC/P"_s;
        QTest::newRow("codes 91 to 96, underscore among them") << u"Text1"_s << u"[\\]^_`"_s << u";<=>?@"_s;
        QTest::newRow("Latin-1 lower case") << u"Text1"_s << u"éàç"_s << u"ÉÀÇ"_s;
        QTest::newRow("double quote dropped") << u"Text1"_s << u"F6\"AB\""_s << u"F6AB"_s;
        QTest::newRow("backspace still edits") << u"Text2"_s << u"jn1\b18"_s << u"JN18"_s;
        QTest::newRow("outside the code page dropped") << u"Text1"_s << u"a€ω°b"_s << u"AB"_s;
        QTest::newRow("callsign stops at 10") << u"Text1"_s << u"f6abcdefghijk"_s << u"F6ABCDEFGH"_s;
        QTest::newRow("locator stops at 6") << u"Text2"_s << u"jn18euxx"_s << u"JN18EU"_s;
    }
    void keyFilter()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        auto d = open();
        auto *edit = d->findChild<QLineEdit *>(field);
        edit->clear();
        type(edit, typed);
        QTEST(edit->text(), "shown");
    }

    void pasteGoesThroughTheFilter_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Ctrl+V") << false << u"f6\"a_b"_s << u"F6A?B"_s;
        QTest::newRow("line break and overflow") << false << u"jn18\r\neu55"_s << u"JN18EU"_s;
        QTest::newRow("menu") << true << u"in88xy"_s << u"IN88XY"_s;
    }
    void pasteGoesThroughTheFilter()
    {
        QFETCH(bool, byMenu);
        QFETCH(QString, clipboard);
        QGuiApplication::clipboard()->setText(clipboard);
        auto d = open();
        d->Text2->clear();
        if (byMenu) {
            QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5), d->Text2->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(d->Text2, &request);
            auto *menu = d->Text2->findChild<QMenu *>();
            QVERIFY(menu);
            QAction *paste = nullptr;
            for (QAction *a : menu->actions()) {
                if (a->objectName() == u"edit-paste" || a->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste"))
                    paste = a;
            }
            QVERIFY(paste);
            paste->trigger();
            menu->close();
        } else {
            QTest::keyClick(d->Text2, Qt::Key_V, Qt::ControlModifier);
        }
        QTEST(d->Text2->text(), "shown");
    }

    void closingWithoutSaving_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("X") << u"X"_s;
        QTest::newRow("Escape") << u"Escape"_s;
        QTest::newRow("window close button") << u"close"_s;
        QTest::newRow("Enter in the fields saves nothing, then X") << u"Enter"_s;
    }
    void closingWithoutSaving()
    {
        QFETCH(QString, how);
        writeLine(kStandardLine);
        auto d = open();
        const QStringList before = values(m_settings);
        for (QRadioButton *o : {d->Option_com1, d->Option_600, d->O_57600})
            QTest::mouseClick(o, Qt::LeftButton);
        QTest::keyClicks(d->Text1, u"zz"_s);
        QTest::keyClicks(d->Text2, u"q"_s);
        if (how == u"X")
            QTest::mouseClick(d->ComX, Qt::LeftButton);
        else if (how == u"Escape")
            QTest::keyClick(d->Text1, Qt::Key_Escape);
        else if (how == u"close")
            d->close();
        if (how == u"Enter") {
            for (QLineEdit *field : {d->Text1, d->Text2})
                QTest::keyClick(field, Qt::Key_Return);
            QVERIFY(d->isVisible());
            QTest::mouseClick(d->ComX, Qt::LeftButton);
        }

        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(look::backColor(m_launcher.get()), look::Navy);
        QCOMPARE(fileBytes(), kStandardLine + "\r\n");
        QCOMPARE(values(m_settings), before);
        QVERIFY(m_messages.isEmpty());
    }

    void failedSaveKeepsEverything_data()
    {
        QTest::addColumn<bool>("directoryGone");
        QTest::newRow("Data.tmp cannot be created") << false;
        QTest::newRow("application directory gone") << true;
    }
    void failedSaveKeepsEverything()
    {
        QFETCH(bool, directoryGone);
        const QString gone = path(u"gone"_s);
        if (directoryGone) {
            apppaths::setAppDirOverride(gone);
        } else {
            writeLine(kStandardLine);
            QVERIFY(QDir().mkpath(path(u"Data.tmp"_s))); // a directory where the temporary file must go
        }
        auto d = open();
        const QStringList before = values(m_settings);
        QTest::mouseClick(d->Option_com2, Qt::LeftButton);
        d->Text1->clear();
        QTest::keyClicks(d->Text1, u"f4new"_s);
        QTest::mouseClick(d->Comvalid, Qt::LeftButton);

        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].icon, ui::MsgIcon::Error);
        QVERIFY2(m_messages[0].text.startsWith(u"Erreur : la configuration n'a pas pu être enregistrée"_s),
            qPrintable(m_messages[0].text));
        QCOMPARE(fileBytes(), directoryGone ? QByteArray() : kStandardLine + "\r\n");
        QVERIFY(!QFile::exists(gone + u"/setting.ini"_s));
        QCOMPARE(values(m_settings), before);
        QVERIFY(d->isVisible());
        QCOMPARE(look::backColor(m_launcher.get()), look::Teal);

        // Nothing typed was lost: once the directory can take the file, the same dialog saves it.
        if (directoryGone)
            QVERIFY(QDir().mkpath(gone));
        else
            QVERIFY(QDir(path(u"Data.tmp"_s)).removeRecursively());
        QTest::mouseClick(d->Comvalid, Qt::LeftButton);
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_messages[1].text, kRestart);
        QCOMPARE(m_settings.PortNumber, u"2"_s);
        QCOMPARE(m_settings.Callsign, u"F4NEW"_s);
        QVERIFY(!d->isVisible());
    }

    // One stop per frame, at its selected choice (the arrows move within the frame), then the fields and buttons.
    void keyboardOnly()
    {
        writeLine(kStandardLine);
        auto d = open();
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        d->Option_com3->setFocus();
        QStringList visited {QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        const QStringList expected {u"Option_com3"_s, u"Option_400"_s, u"O_9600"_s, u"Text1"_s, u"Text2"_s,
            u"Comvalid"_s, u"ComX"_s, u"Option_com3"_s};
        QCOMPARE(visited, expected);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), d->Option_com4);
        QVERIFY(d->Option_com4->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // no default button: nothing saved
        QCOMPARE(fileBytes(), kStandardLine + "\r\n");
        QVERIFY(d->isVisible());
        d->Comvalid->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d->Comvalid, Qt::Key_Space);
        QCOMPARE(fileBytes(),
            QByteArray(R"("4","400","9600,n,8,2","F6ABC","JN18EU")"
                       "\r\n"));
    }

    // From a first start without setting.ini to a working link, through the dialog; then "Configuration" shows
    // what was saved.
    void configurationRequiredPathEndToEnd()
    {
        PanelFixture fixture;
        QVERIFY(fixture.start(4800, QByteArray()));
        int opened = 0;
        QColor whileOpen;
        QStringList shown;
        ui::setModalHandler([&](QDialog &dialog) {
            auto *config = qobject_cast<ConfigDialog *>(&dialog);
            if (!config)
                return int(QDialog::Rejected);
            whileOpen = look::backColor(fixture.c().LabConf);
            shown = checkedOptions(*config);
            if (++opened == 1) {
                const QString dir = qEnvironmentVariable("ORVANE_SCREENSHOTS", QDir::currentPath() + u"/screenshots"_s);
                QDir().mkpath(dir);
                config->grab().save(dir + u"/config-dialog.png"_s);
                QTest::mouseClick(config->Option_com1, Qt::LeftButton);
                QTest::mouseClick(config->Comvalid, Qt::LeftButton);
            } else {
                QTest::keyClick(config, Qt::Key_Escape);
            }
            return config->result();
        });
        fixture.c().Lab_c_on->click();
        QCOMPARE(opened, 1);
        QCOMPARE(whileOpen, look::Teal);
        QCOMPARE(look::backColor(fixture.c().LabConf), look::Navy);
        QCOMPARE(fixture.messages.size(), 2);
        QCOMPARE(fixture.messages[0].text, u"Configuration requise de votre FT847 est RIVO847Z2 !"_s);
        QCOMPARE(fixture.messages[1].text, kRestart);
        QVERIFY(!fixture.sim().catOn());
        QVERIFY(fixture.c().Lab_c_on->isVisible());
        QCOMPARE(fixture.program().settings.PortNumber, u"1"_s);

        // The next "Marche" re-reads the file and brings the link up.
        QVERIFY(fixture.switchOn());
        QVERIFY(fixture.program().port.portOpen());
        QVERIFY(fixture.c().Lab_c_off->isVisible());
        QCOMPARE(opened, 1);

        fixture.c().LabConf->click();
        QCOMPARE(opened, 2);
        QCOMPARE(shown, (QStringList {u"O_4800"_s, u"Option_200"_s, u"Option_com1"_s}));
        QCOMPARE(whileOpen, look::Teal);
        QCOMPARE(look::backColor(fixture.c().LabConf), look::Navy);
        QCOMPARE(fixture.messages.size(), 2);
    }
};

QTEST_MAIN(TestConfigDialog)
#include "tst_configdialog.moc"
