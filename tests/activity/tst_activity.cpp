// "Activité de la bande" fed by a continuous scan of a band of five stations set on the emulator, on the UART test
// port: the scanner's steps are driven one by one, each followed by the poll's reads there.

#include "activitymodel.h"
#include "activityview.h"
#include "activitywindow.h"
#include "clicklabel.h"
#include "dialogs.h"
#include "ft847window.h"
#include "look.h"
#include "panelfixture.h"
#include "testfiles.h"
#include "testmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// kHz and S-meter reading of each station; the range 144000 to 144100 kHz in 5 kHz steps holds them all.
const std::map<int, int> kBand = {{144010, 18}, {144025, 10}, {144050, 31}, {144070, 6}, {144095, 22}};
constexpr int kSteps = 20;

} // namespace

class TestActivity : public QObject
{
    Q_OBJECT

    std::unique_ptr<PanelFixture> f;

    ActivityModel &model() { return f->program().activity; }
    ActivityWindow *window() { return f->program().activityLauncher.window(); }
    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            f->program().scanner.requestStep();
            f->program().poll.Lit_Etat();
            f->program().poll.Lit_SMetre();
        }
    }
    static void keys(QWidget *to, const QString &names)
    {
        for (const QString &key : names.split(u' '))
            QTest::keyClick(to, Qt::Key(QKeySequence::fromString(key)[0].key()));
    }
    // Starts a continuous scan of the band, opens the window and makes `ticks` steps.
    void scan(int ticks, const QString &arrival = QStringLiteral("144100"))
    {
        for (const auto &[kHz, reading] : kBand)
            f->sim().setSignal(quint32(kHz * 100), reading);
        f->c().Textariv->setText(arrival);
        f->c().Combo_pas->setEditText(QStringLiteral("5"));
        f->c().Combo_vitesse->setEditText(QStringLiteral("9"));
        f->c().Check_continu->setChecked(true);
        f->c().Av_Pas->click();
        f->c().LabActiv->click();
        QVERIFY(window() && QTest::qWaitForWindowExposed(window()));
        tick(ticks);
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start(57600));
        QVERIFY(f->switchOn());
        f->c().Timer1->stop();
    }
    void cleanup()
    {
        f.reset();
        QLocale::setDefault(QLocale::system());
    }

    // A sweep is done when its last step is heard; the first lacks the start, which the scan tunes only on its way
    // round. A hundred sweeps are kept.
    void sweeps_data()
    {
        orvanetest::namedTable<QString, int, int>({"arrival", "ticks", "rows"},
            {{"one sweep", u"144100"_qs, kSteps, 1}, {"three sweeps and a step", u"144100"_qs, 3 * kSteps + 1, 4},
                {"the last hundred", u"144010"_qs, 2 * 104, 100}});
    }
    void sweeps()
    {
        QFETCH(QString, arrival);
        QFETCH(int, ticks);
        QFETCH(int, rows);
        scan(ticks, arrival);
        QCOMPARE(model().sweepCount(), rows);
        const int complete = *model().lastCompleteRow();
        for (int i = 0; i < model().stepCount(); ++i) {
            const int kHz = 144000 + 5 * i;
            const auto level = model().level(complete, i);
            if (complete == model().sweepCount() - 1 && i == 0) {
                QVERIFY(!level);
                continue;
            }
            QCOMPARE(level.value_or(-1), kBand.count(kHz) ? kBand.at(kHz) / 2.0 : 0.0);
            QCOMPARE(window()->view()->shownLevel(i), level);
        }
    }

    void strongestChannels()
    {
        scan(2 * kSteps);
        QCOMPARE(window()->accessibleDescription(),
            u"144,050 kHz S9+60, 144,095 kHz S9+20, 144,010 kHz S9, 144,025 kHz S5, 144,070 kHz S3"_qs);
        QCOMPARE(look::backColor(f->c().LabActiv), look::Teal);
        window()->close();
        QCOMPARE(look::backColor(f->c().LabActiv), look::Navy);
    }

    void newRangeNewPicture()
    {
        scan(2 * kSteps);
        f->c().Arret_Trace->click();
        f->c().Textariv->setText(u"144050"_qs);
        f->c().Av_Pas->click();
        tick(10);
        QCOMPARE(model().stepCount(), 10);
        QCOMPARE(model().sweepCount(), 1);
    }

    // What a step says, on the line under the picture where the pointer stands, and as its accessible name (what a
    // screen reader reads) where the keyboard focus stands: a page is a twentieth of the range; the start, which
    // the first sweep does not hear, says so.
    void stepWords_data()
    {
        orvanetest::namedTable<QString, QString, QString, QString>({"arrival", "how", "pointed", "focused"},
            {{"pointed", u"144100"_qs, u"point 5"_qs, u"144,025 kHz S5"_qs, QString()},
                {"pointed, then left", u"144100"_qs, u"point 5;point -1"_qs, QString(), QString()},
                {"pages of one step", u"144100"_qs, u"Home PgDown PgDown PgDown PgDown PgDown"_qs, QString(),
                    u"144,025 kHz S5"_qs},
                {"pages of two", u"144200"_qs, u"Home PgDown PgDown PgDown PgDown PgDown"_qs, QString(),
                    u"144,050 kHz S9+60"_qs},
                {"back a page past the start", u"144200"_qs, u"Home Right PgUp"_qs, QString(),
                    u"144,000 kHz non entendu"_qs}});
    }
    void stepWords()
    {
        QFETCH(QString, arrival);
        QFETCH(QString, how);
        scan(kSteps, arrival);
        ActivityView *view = window()->view();
        view->setFocus();
        for (const QString &move : how.split(u';')) {
            const int step = move.section(u' ', 1).toInt();
            if (move.startsWith(u"point")) // through the window, as the window system moves the pointer
                QTest::mouseMove(window()->windowHandle(),
                    view->mapTo(window(), step < 0 ? QPoint(view->width() / 2, 1) : view->stepCentre(step)));
            else
                keys(view, move);
        }
        QTEST(window()->findChild<QLabel *>(u"LabPointe"_qs)->text(), "pointed");
        QFETCH(QString, focused);
        if (!focused.isEmpty())
            QCOMPARE(view->accessibleName(), focused);
    }

    // A step chosen with the mouse or the keyboard tunes the radio there and pauses the scan, as the scan list does;
    // with the link off, it is dropped as a click in the scan list is.
    void choose_data()
    {
        orvanetest::namedTable<QString, int>({"how", "step"},
            {{"click", u"click"_qs, 10}, {"keys", u"Right Right Right Left Return"_qs, 2},
                {"End Space", u"End Space"_qs, kSteps - 1}, {"link off", u"off click"_qs, 10}});
    }
    void choose()
    {
        QFETCH(QString, how);
        QFETCH(int, step);
        scan(kSteps + 3);
        ActivityView *view = window()->view();
        if (how.startsWith(u"off")) {
            f->c().Lab_c_off->click();
            const QString before = f->c().Text_Affine->text() + f->shownDigits();
            PanelFixture::queueClick(view, view->stepCentre(step));
            QTest::qWait(100);
            QCOMPARE(f->c().Text_Affine->text() + f->shownDigits(), before);
            return;
        }
        if (how == u"click") {
            PanelFixture::queueClick(view, view->stepCentre(step));
        } else {
            view->setFocus();
            view->setFocusedStep(0);
            keys(view, how);
        }
        const quint32 tenHz = quint32(14400000 + step * 500);
        QVERIFY(PanelFixture::waitFor([&] { return f->sim().frequency() == tenHz; }, std::chrono::seconds(3)));
        QVERIFY(!f->c().Scan_Timer->isActive());
        QCOMPARE(f->c().Text_Affine->text(), QString::number(144000 + step * 5));
    }

    // "Enregistrer" writes the numbers (read back here as a spreadsheet would) and the picture beside them; a folder
    // that cannot be written is told in French and leaves nothing behind.
    void save_data()
    {
        orvanetest::namedTable<QString, QString>({"name", "message"},
            {{"written", u"bande.csv"_qs, QString()},
                {"no folder", u"absent/bande.csv"_qs, u"Erreur : le fichier "_qs}});
    }
    void save()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        scan(12 * kSteps + 7);
        const QString path = f->dirPath(name);
        ui::setModalHandler([&](QDialog &dialog) {
            static_cast<QFileDialog &>(dialog).selectFile(path);
            dialog.done(QDialog::Accepted);
            return int(QDialog::Accepted);
        });
        PanelFixture::screenshot(*window(), u"activity-window"_qs);
        window()->saveButton()->click();
        if (!message.isEmpty()) {
            QCOMPARE(f->messages.size(), 1);
            QVERIFY(f->messages.constFirst().text.startsWith(message));
            QVERIFY(!QFile::exists(path) && !QFile::exists(path + u".tmp"_qs));
            return;
        }
        QVERIFY(f->messages.isEmpty());
        QVERIFY(!QImage(path.chopped(4) + u".png"_qs).isNull());
        const QList<QByteArray> lines = testfiles::read(path).trimmed().split('\n');
        QCOMPARE(lines.size(), 1 + kSteps);
        const QList<QByteArray> header = lines.at(0).trimmed().split(',');
        QCOMPARE(header.size(), 1 + model().sweepCount());
        for (int column = 1; column < header.size(); ++column) {
            const int row = model().sweepCount() - column;
            QCOMPARE(header.at(column), model().sweepTime(row).toString(u"yyyy-MM-dd hh:mm:ss"_qs).toUtf8());
        }
        for (int i = 0; i < kSteps; ++i) {
            const QList<QByteArray> cells = lines.at(i + 1).trimmed().split(',');
            QCOMPARE(cells.value(0).toDouble(), 144000.0 + 5 * i);
            for (int column = 1; column < header.size(); ++column) {
                const auto level = model().level(model().sweepCount() - column, i);
                QCOMPARE(cells.value(column).isEmpty(), !level);
                QCOMPARE(cells.value(column).toDouble(), level.value_or(0));
            }
        }
    }
};

ORVANE_TEST_MAIN(TestActivity)
#include "tst_activity.moc"
