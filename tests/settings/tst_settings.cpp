// setting.ini and the shared record syntax; the configuration dialog.

#include "apppaths.h"
#include "clicklabel.h"
#include "configdialog.h"
#include "dialogs.h"
#include "look.h"
#include "panelfixture.h"
#include "scenario.h"
#include "settings.h"
#include "testfiles.h"
#include "testmain.h"
#include "textfile.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The configuration dialog on its own, setting.ini in a temporary directory and the main window's "Configuration"
// label stood in by a plain label; then once through the whole program from a first start.
class TestConfigDialog : public WindowScenario
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Settings m_settings;
    std::unique_ptr<ConfigDialog> m_owned;
    ConfigDialog *m_dialog = nullptr; // the one open

    QWidget *root() override { return m_dialog; }
    // Table's own: "setting.ini=line" writes the file (no line: none) and opens the dialog afresh, "appdir=",
    // "mkdir=" and "rmdir=" move the application directory or make or remove a directory in it, "Name+Menu" pastes
    // through the field's menu.
    bool special(const QString &name, const QString &value) override
    {
        const QString path = m_dir.filePath(value);
        if (name == u"setting.ini=") {
            QFile::remove(Settings::SettingsPath());
            if (!value.isEmpty())
                testfiles::write(Settings::SettingsPath(), value.toUtf8() + "\r\n");
            m_settings = Settings(); // as the program starts
            m_owned = std::make_unique<ConfigDialog>(m_settings, &m_launcher);
            m_dialog = m_owned.get();
            m_dialog->show();
            m_dialog->activateWindow();
        } else if (name == u"appdir=") {
            apppaths::setAppDirOverride(path);
        } else if (name == u"mkdir=" || name == u"rmdir=") {
            name == u"mkdir=" ? QDir().mkpath(path) : QDir(path).removeRecursively();
        } else if (value == u"Menu") {
            auto *field = m_dialog->findChild<QLineEdit *>(name.chopped(1));
            QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(field, &request);
            for (QAction *a : field->findChild<QMenu *>()->actions())
                if (a->objectName() == u"edit-paste" || a->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste"))
                    a->trigger();
        } else {
            return false;
        }
        return true;
    }
    // Table's own: "file=" setting.ini's fields joined by ";" (its text as it stands unless it is one record of
    // quoted fields ended by CR LF), "values=" the shared values alike, "launcher=" the label's colour, "checked="
    // the options checked (two in one frame would show a broken exclusivity).
    std::optional<QString> specialRead(const QString &target) override
    {
        QStringList texts;
        if (target == u"file") {
            const QByteArray bytes = testfiles::read(Settings::SettingsPath());
            const QString text = bytes == "<missing>" ? QString() : textfile::decodeCp1252(bytes);
            const QRegularExpressionMatch record = QRegularExpression(u"^\"(.*)\"\r\n$"_s).match(text);
            return record.hasMatch() ? record.captured(1).replace(u"\",\""_s, u";"_s) : text;
        }
        if (target == u"values")
            return QStringList {m_settings.PortNumber, m_settings.FlowDelay, m_settings.PortSettings,
                m_settings.Callsign, m_settings.Locator}
                .join(u';');
        if (target != u"checked")
            return WindowScenario::specialRead(target);
        for (const QRadioButton *option : m_dialog->findChildren<QRadioButton *>())
            if (option->isChecked())
                texts << option->objectName();
        return texts.join(u' ');
    }
    // The shared values change only once the file holds them.
    void verify() override
    {
        if (QFile::exists(Settings::SettingsPath()))
            QCOMPARE(read(u"values"_s), read(u"file"_s));
    }

    void rows() override
    {
        const QByteArray saved = "messages= Pour valider la configuration quitter et relancer le programme SVP|"
                                 "config.visible=false|launcher=navy|file=";
        const QByteArray kept = "config.visible=false|launcher=navy|file=3;400;9600,n,8,2;F6ABC;JN18EU";
        const QByteArray failed = "messages=Erreur : la configuration n'a pas pu être enregistrée (";
        const char *longer = "setting.ini=\"3\",\"400\",\"9600,n,8,2\",\"F1ABCDEFGHIJ\",\"JN18EU12\";";
        // Opened on the file's values: one that is no choice leaves its frame unselected, a longer text than its
        // field is shown whole; with no file, the first speed and delay.
        row("opened", "", "launcher=teal|checked=Option_com3 Option_400 O_9600|Text1=F6ABC|Text2=JN18EU");
        row("blanks and zeros", "setting.ini=\" 4 \",\"0600\",\"4800,n,8,2\",\"F1XYZ\",\"IN88\";Comvalid",
            "checked=Option_com4 Option_600 O_4800|" + saved + "4;600;4800,n,8,2;F1XYZ;IN88");
        row("no choices, written back", "setting.ini=\"COM2\",\"3OO\",\"9600,N,8,2\",\"\",\"\";Comvalid",
            "checked=|" + saved + "COM2;3OO;9600,N,8,2;;");
        row("longer texts kept", longer + "Option_com1"_ba + ";Comvalid",
            "Text1=F1ABCDEFGHIJ|Text2=JN18EU12|" + saved + "1;400;9600,n,8,2;F1ABCDEFGHIJ;JN18EU12");
        row("typing over a longer text stops at 10", longer + "Text1=;Text1<f1abcdefghijk;Comvalid"_ba,
            saved + "3;400;9600,n,8,2;F1ABCDEFGH;JN18EU12");
        row("no file", "setting.ini=;Option_com1;Text1<f6abc;Comvalid",
            "checked=Option_com1 Option_200 O_4800|" + saved + "1;200;4800,n,8,2;F6ABC;");
        row("every choice", "Option_com2;Option_600;O_57600;Text1=;Text1<f5xyz/p;Comvalid",
            saved + "2;600;57600,n,8,2;F5XYZ/P;JN18EU");
        // Each key typed through the filter: above code 90 less 32 (lower case to capitals, "_" to "?"); quotes and
        // what the file cannot hold dropped; the locator stops at 6.
        row("codes 91 to 96", "Text1=;Text1<[\\]^_`;Comvalid", saved + "3;400;9600,n,8,2;;<=>?@;JN18EU");
        row("Latin-1, outside the code page", "Text1=;Text1<éàç\"€ω°b;Comvalid",
            saved + "3;400;9600,n,8,2;ÉÀÇB;JN18EU");
        row("backspace", "Text2=;Text2<jn1\b18xx;Comvalid", saved + "3;400;9600,n,8,2;F6ABC;JN18XX");
        row("Ctrl+V", "clipboard=f6\"a_b;Text2=;Text2+Ctrl+V;Comvalid", saved + "3;400;9600,n,8,2;F6ABC;F6A?B");
        row("pasted line break", "clipboard=jn18\r\neu55;Text2=;Text2+Ctrl+V", "Text2=JN18EU");
        row("menu", "clipboard=in88xy;Text2=;Text2+Menu", "Text2=IN88XY");
        row("composed", "Text2=;Text2%jn18\u00e9", "Text2=JN18\u00c9");
        // "X", Escape (the window's close button alike), or Enter in the fields (there is no default button) then
        // "X": nothing saved, nothing said.
        const char *changes = "Option_com1;Option_600;O_57600;Text1<zz;Text2<q;";
        row("X", changes + "ComX"_ba, kept);
        row("Escape", changes + "Text1+Escape"_ba, kept);
        row("Enter", changes + "Text1+Return;Text2+Return;ComX"_ba, kept);
        // setting.ini that cannot be written: the error, the old file and values kept, the dialog open with what
        // was typed, which it saves once it can.
        row("Data.tmp taken", "mkdir=Data.tmp;Option_com2;Text1=;Text1<f4new;Comvalid",
            failed
                + "un dossier porte ce nom).\nLe fichier setting.ini précédent est conservé.|config.visible=true|"
                  "launcher=teal|file=3;400;9600,n,8,2;F6ABC;JN18EU");
        row("Data.tmp freed", "mkdir=Data.tmp;Option_com2;Text1=;Text1<f4new;Comvalid;rmdir=Data.tmp;Comvalid",
            "config.visible=false|file=2;400;9600,n,8,2;F4NEW;JN18EU|messages=" + failed.mid(9)
                + "un dossier porte ce nom).\nLe fichier setting.ini précédent est conservé.+ Pour valider la "
                  "configuration quitter et relancer le programme SVP");
        row("directory gone", "appdir=gone;setting.ini=;Option_com2;Comvalid",
            failed
                + "fichier ou dossier introuvable).\nLe fichier setting.ini précédent est conservé.|"
                  "config.visible=true|values=;200;4800,n,8,2;;");
        // One Tab stop per frame, at its selected choice; the arrows move within the frame; Enter saves nothing,
        // Space on "Valider" saves.
        row("Tab", "Option_com3!;focus+Tab", "focus=Option_400");
        row("arrows", "Option_com3!;focus+Right;focus+Return",
            "focus=Option_com4|config.visible=true|file=3;400;9600,n,8,2;F6ABC;JN18EU");
        row("Space", "Option_com3!;focus+Right;Comvalid!;focus+Space", saved + "4;400;9600,n,8,2;F6ABC;JN18EU");
    }

private slots:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path()));
        apppaths::setAppDirOverride(m_dir.path());
        m_settings = Settings();
        fresh();
        act(u"setting.ini=\"3\",\"400\",\"9600,n,8,2\",\"F6ABC\",\"JN18EU\""_s);
        QVERIFY(QTest::qWaitForWindowActive(m_dialog));
    }
    void cleanup()
    {
        m_dialog = nullptr;
        m_owned.reset();
    }
    void cleanupTestCase() { apppaths::setAppDirOverride({}); }

    // From a first start without setting.ini to a working link through the dialog, which "Configuration" then
    // opens on what was saved.
    void firstStart()
    {
        PanelFixture fixture;
        QVERIFY(fixture.start(4800, QByteArray()));
        QStringList opened;
        ui::setModalHandler([&](QDialog &dialog) {
            m_dialog = qobject_cast<ConfigDialog *>(&dialog);
            opened << read(u"checked"_s) + u' ' + look::backColor(fixture.c().LabConf).name();
            PanelFixture::screenshot(dialog, u"config-dialog"_s);
            act(opened.size() == 1 ? u"Option_com1;Comvalid"_s : u"ComX"_s);
            return std::exchange(m_dialog, nullptr)->result();
        });
        fixture.c().Lab_c_on->click();
        QCOMPARE(fixture.messages.value(0).text, u"Configuration requise de votre FT847 est RIVO847Z2 !"_s);
        QVERIFY(!fixture.sim().catOn() && fixture.switchOn()); // the next "Marche" re-reads the file
        fixture.c().LabConf->click();
        QCOMPARE(opened, (QStringList {u"Option_200 O_4800 #008080"_s, u"Option_com1 Option_200 O_4800 #008080"_s}));
        QCOMPARE(look::backColor(fixture.c().LabConf), look::Navy);
        QCOMPARE(fixture.messages.size(), 2);
    }
};

// setting.ini and the record syntax it shares with datamem.txt, with real files in a temporary directory.
class TestSettingsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString values(const Settings &s)
    {
        return QStringList {s.PortNumber, s.FlowDelay, s.PortSettings, s.Callsign, s.Locator}.join(u';');
    }

private slots:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path()));
        apppaths::setAppDirOverride(m_dir.path());
    }
    void cleanupTestCase() { apppaths::setAppDirOverride({}); }

    // A field is written only when it reads back as written. (Hand edits are read by the syntax datamem.txt
    // shares: its reading rows.)
    void records_data()
    {
        orvanetest::table<QString, bool>({"field", "writable"},
            {{u"a,b"_s, true}, {u"É"_s, true}, {u"a\"b"_s, false}, {u"a\nb"_s, false}, {u"a\rb"_s, false},
                {u"Ω"_s, false}});
    }
    void records()
    {
        QFETCH(QString, field);
        QFETCH(bool, writable);
        const auto line = textfile::formatRecord({u"x"_s, field});
        QCOMPARE(line ? textfile::parseRecords(*line).value(0).value(1) : u"-"_s, writable ? field : u"-"_s);
    }
    // Every byte survives the code page.
    void codePage()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(textfile::encodeCp1252(textfile::decodeCp1252(all)), std::optional(all));
    }

    // The last whole record wins; an empty file changes nothing; a missing or cut file empties the port, so that
    // switching on asks for one.
    void reading_data()
    {
        using enum Settings::ReadResult;
        orvanetest::namedTable<QByteArray, Settings::ReadResult, QString>({"bytes", "result", "after"},
            {{"two records",
                 "\"1\",\"200\",\"4800,n,8,2\",\"F1AAA\",\"JN18\"\r\n"
                 "\"3\",\"400\",\"9600,n,8,2\",\"F6ABC\",\"IN88GS\"\r\n",
                 Read, u"3;400;9600,n,8,2;F6ABC;IN88GS"_s},
                {"empty", "", Empty, u"4;;;;JN18EU"_s}, {"missing", {}, Missing, u";;;;JN18EU"_s},
                {"short record", "\"1\",\"200\",\"4800,n,8,2\"", Truncated, u";;;;JN18EU"_s},
                {"cut after a record", "\"1\",\"200\",\"4800,n,8,2\",\"\",\"\"\r\n\"2\",\"3", Truncated,
                    u";200;4800,n,8,2;;"_s}});
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(bytes.isNull() || testfiles::write(Settings::SettingsPath(), bytes));
        Settings s {u"4"_s, {}, {}, {}, u"JN18EU"_s};
        QTEST(s.read(), "result");
        QTEST(values(s), "after");
    }

    // One line replaces the file and a stale Data.tmp; what cannot be written (a double quote, a directory gone)
    // leaves the old file whole.
    void writing()
    {
        const Settings s {u"1"_s, u"300"_s, u"57600,n,8,2"_s, u"F6ÉTÉ"_s, u"JN18EU"_s};
        QString error;
        QVERIFY(s.write(&error)); // the first write creates the file
        QVERIFY(testfiles::write(Settings::TempPath(), "stale bytes from an earlier crash"));
        QVERIFY2(s.write(&error), qPrintable(error));
        QVERIFY((!Settings {u"1"_s, {}, {}, u"F6\"X"_s, {}}.write(&error) && !error.isEmpty()));
        apppaths::setAppDirOverride(m_dir.filePath(u"gone"_s));
        QVERIFY(!s.write(&error) && !error.isEmpty());
        apppaths::setAppDirOverride(m_dir.path());
        QCOMPARE(testfiles::read(Settings::SettingsPath()),
            QByteArray("\"1\",\"300\",\"57600,n,8,2\",\"F6\xc9T\xc9\",\"JN18EU\"\r\n"));
        QVERIFY(!QFile::exists(Settings::TempPath()));
        Settings back;
        QCOMPARE(back.read(), Settings::ReadResult::Read);
        QCOMPARE(values(back), values(s));
    }
};

ORVANE_TEST_MAIN(TestSettingsFile, TestConfigDialog)
#include "tst_settings.moc"
