#include "activitywindow.h"

#include "activitymodel.h"
#include "activityview.h"
#include "apppaths.h"
#include "clock.h"
#include "dialogs.h"
#include "look.h"
#include "messagebox.h"
#include "textfile.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ActivityWindow::ActivityWindow(const ActivityModel &model, QWidget *launcher, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_model(model)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("WinActivite"));
    setWindowTitle(QStringLiteral("Activité de la bande"));
    // A window of its own to a screen reader, as the panel and the locator are.
    look::setAccessibleRole(this, QAccessible::Window);
    look::setBackColor(this, look::Face);
    m_range = new QLabel(this);
    m_range->setObjectName(QStringLiteral("LabPlage"));
    m_view = new ActivityView(model, this);
    m_pointed = new QLabel(this);
    m_pointed->setObjectName(QStringLiteral("LabPointe"));
    m_pointed->setMinimumWidth(220);
    m_save = new QPushButton(QStringLiteral("Enregistrer"), this);
    m_save->setObjectName(QStringLiteral("ComEnreg"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_pointed, 1);
    bottom->addWidget(m_save);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_range);
    layout->addWidget(m_view, 1);
    layout->addLayout(bottom);

    connect(m_view, &ActivityView::stepPointed, this,
        [this](int index) { m_pointed->setText(index < 0 ? QString() : m_view->stepWords(index)); });
    connect(
        m_view, &ActivityView::stepChosen, this, [this](int index) { emit tuneRequested(m_model.frequencyAt(index)); });
    connect(m_save, &QPushButton::clicked, this, &ActivityWindow::save);
    connect(&model, &ActivityModel::sweepCompleted, this, &ActivityWindow::describeLastSweep);
    connect(&model, &ActivityModel::rangeChanged, this, [this] {
        showRange();
        describeLastSweep();
    });
    showRange();
    describeLastSweep();
    resize(800, 520);
}

void ActivityWindow::showRange()
{
    if (m_model.stepCount() == 0) {
        m_range->setText(QStringLiteral("Lancez le scanner : chaque pas balayé s'affiche ici."));
        return;
    }
    m_range->setText(QStringLiteral("De %1 à %2 kHz, pas de %3 kHz")
                         .arg(m_model.start().toPointGroupedText(), m_model.end().toPointGroupedText(),
                             m_model.step().toText(QLocale())));
}

void ActivityWindow::describeLastSweep()
{
    const auto row = m_model.lastCompleteRow();
    setAccessibleDescription(row ? m_model.strongestWords(*row) : QStringLiteral("Aucun balayage terminé"));
}

void ActivityWindow::showEvent(QShowEvent *event)
{
    look::setBackColor(m_launcher, look::Teal);
    QWidget::showEvent(event);
}

void ActivityWindow::closeEvent(QCloseEvent *event)
{
    look::setBackColor(m_launcher, look::Navy);
    QWidget::closeEvent(event);
}

bool ActivityWindow::writeSafely(const QString &path, const QByteArray &bytes)
{
    QString cause;
    if (textfile::replaceFile(path + QStringLiteral(".tmp"), path, bytes, &cause))
        return true;
    ui::showMessage(
        QStringLiteral("Erreur : le fichier %1 n'a pas pu être enregistré (%2).").arg(path, cause), ui::MsgIcon::Error);
    return false;
}

void ActivityWindow::save()
{
    QFileDialog dialog(this, QStringLiteral("Enregistrer l'activité de la bande"), apppaths::AppDir(),
        QStringLiteral("Balayages (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Dossier :"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nom du fichier :"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Type :"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Enregistrer"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
    dialog.selectFile(QStringLiteral("activite-%1.csv").arg(ui::now().toString(QStringLiteral("yyyyMMdd-hhmm"))));
    if (ui::execModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString csvPath = dialog.selectedFiles().constFirst();
    if (!csvPath.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        csvPath += QStringLiteral(".csv");
    // The picture beside the numbers, under the same name.
    const QString pngPath = csvPath.chopped(4) + QStringLiteral(".png");
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    m_view->grab().save(&buffer, "PNG");
    if (writeSafely(csvPath, m_model.toCsv()))
        writeSafely(pngPath, png);
}
