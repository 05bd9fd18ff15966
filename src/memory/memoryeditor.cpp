#include "memoryeditor.h"

#include "actionroad.h"
#include "catframe.h"
#include "combos.h"
#include "frequencycontrol.h"
#include "localenumber.h"
#include "memorygrid.h"
#include "messagebox.h"
#include "textfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace {

constexpr qint64 kTurnEveryMs = 4;

// Drops, as they are typed or pasted, the characters an entry cannot hold: a double quote or a line break would
// not read back from the file, a character outside Windows-1252 has no byte there, and a TAB would split the
// grid's row.
class StorableTextValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        for (qsizetype i = input.size() - 1; i >= 0; --i) {
            const QChar c = input.at(i);
            if (c == u'\t' || !textfile::isWritableField(QString(c))) {
                input.remove(i, 1);
                if (i < pos)
                    --pos;
            }
        }
        return Acceptable;
    }
};

QString rowText(const MemoryEntry &e)
{
    const QChar tab = u'\t';
    return e.group + tab + e.frequency + tab + e.mode + tab + e.observation;
}

} // namespace

MemoryEditor::MemoryEditor(
    FrequencyControl &frequency, ActionRoad &road, const MemoryEditorControls &controls, QObject *parent)
    : QObject(parent)
    , m_frequency(frequency)
    , m_road(road)
    , m_c(controls)
{
    for (QLineEdit *field : {m_c.Text_choix_qrg, m_c.Text_choix_observ})
        field->setValidator(new StorableTextValidator(field));
    for (QComboBox *combo : {m_c.Comb_mem_mode, m_c.Combo1})
        combo->setValidator(new StorableTextValidator(combo));
}

void MemoryEditor::load()
{
    const int widths[MemoryGrid::kColumns] = {500, 900, 500, 3000};
    for (int column = 0; column < MemoryGrid::kColumns; ++column)
        m_c.Grid->setColWidth(column, widths[column]);
    QStringList groups;
    for (const char16_t *group : memoryfile::kGroups)
        groups << QString::fromUtf16(group);
    ui::fillKeepingText(m_c.Combo1, groups);
    QStringList modes;
    for (const quint8 code : {cat::ModeFM, cat::ModeAM, cat::ModeUSB, cat::ModeLSB, cat::ModeCW, cat::ModeCWR})
        modes << cat::modeName(code);
    ui::fillKeepingText(m_c.Comb_mem_mode, modes);
    ComEnvoiLIste_Click();
    m_c.cmdAjouter->setEnabled(true);
    m_c.Com_valid_memo->setEnabled(false);
    m_c.Com_envoi_freq->setEnabled(false);
}

void MemoryEditor::ComEnvoiLIste_Click()
{
    m_c.Grid->setRows(1);
    QString error;
    m_reader.emplace();
    if (!m_reader->open(memoryfile::memoryPath(), &error)) {
        m_reader.reset();
        ui::showMessage(QStringLiteral("Erreur : Le fichier des mémoires ne peut pas être lu (%1).").arg(error),
            ui::MsgIcon::Error);
    }
    // The event loop runs after the first entry and then every few milliseconds, so that clicks, repaints and
    // the poll are served during a long load; a turn after every entry would take half of a large file's time.
    QElapsedTimer sinceTurn;
    bool firstEntry = true;
    while (m_reader) {
        const std::optional<MemoryEntry> entry = m_reader->next();
        if (!entry) {
            m_reader.reset();
            break;
        }
        listIfTicked(*entry);
        if (firstEntry || sinceTurn.hasExpired(kTurnEveryMs)) {
            firstEntry = false;
            // Nothing is half done here: the poll and the operator's actions run. One of them may run "Afficher"
            // again (a new reader, read to the end before it returns), or finish this read for an append or a
            // deletion: either way the loop ends with the reader gone.
            m_road.parkedTurn();
            sinceTurn.start();
        }
    }
    m_c.Com_envoi_freq->setEnabled(false);
}

void MemoryEditor::listIfTicked(const MemoryEntry &entry)
{
    for (std::size_t i = 0; i < m_c.groupChecks.size(); ++i) {
        if (m_c.groupChecks[i]->checkState() == Qt::Checked && entry.group == QStringView(memoryfile::kGroups[i]))
            m_c.Grid->addItem(rowText(entry));
    }
}

void MemoryEditor::finishReading()
{
    if (!m_reader)
        return;
    while (const std::optional<MemoryEntry> entry = m_reader->next())
        listIfTicked(*entry);
    m_reader.reset();
}

void MemoryEditor::Grid_Click(int row)
{
    SelectedFreq = m_c.Grid->textMatrix(row, 1);
    SelectedMode = m_c.Grid->textMatrix(row, 2);
    m_c.cmdAjouter->setEnabled(false);
    m_c.Com_valid_memo->setEnabled(false);
    // Only a row with a frequency to send: not the empty top row, nor an entry whose frequency is text.
    m_c.Com_envoi_freq->setEnabled(frequency::kHzTextToTenHz(SelectedFreq, QLocale()).has_value());
}

void MemoryEditor::Grid_DblClick(int row)
{
    Q_UNUSED(row)
    Com_envoi_freq_Click();
}

void MemoryEditor::Grid_LostFocus()
{
    m_c.cmdAjouter->setEnabled(true);
}

void MemoryEditor::followCurrentRow(int row)
{
    if (row < 0)
        return;
    SelectedFreq = m_c.Grid->textMatrix(row, 1);
    SelectedMode = m_c.Grid->textMatrix(row, 2);
}

void MemoryEditor::cmdAjouter_Click()
{
    // The first six of the eight digits are whole kHz with leading zeros: 00705000 gives 7050.
    const QString kHz = m_frequency.lastSent().left(6);
    const qint64 value = frequency::ExactDecimal::valPrefix(kHz).scaled(0).value_or(0);
    m_c.Text_choix_qrg->setText(QString::number(value));
    m_c.Comb_mem_mode->setEditText(m_frequency.modeName());
    m_c.Com_valid_memo->setEnabled(true);
    m_c.Com_envoi_freq->setEnabled(false);
}

void MemoryEditor::Text_choix_qrg_Change()
{
    if (!m_c.Text_choix_qrg->text().isEmpty())
        m_c.Com_valid_memo->setEnabled(true);
}

void MemoryEditor::Com_valid_memo_Click()
{
    finishReading();
    const MemoryEntry entry {m_c.Combo1->currentText(), m_c.Text_choix_qrg->text(), m_c.Comb_mem_mode->currentText(),
        m_c.Text_choix_observ->text()};
    m_c.Grid->addItem(rowText(entry));
    const int added = m_c.Grid->rows() - 1;
    clearForm();
    QString error;
    if (!memoryfile::Enreg_qrg(entry, &error)) {
        // Nothing was stored (the file cannot be written, or a field holds what it cannot keep): take the row
        // back and give the operator the form as it was.
        m_c.Grid->removeItem(added);
        m_c.Text_choix_qrg->setText(entry.frequency);
        m_c.Text_choix_observ->setText(entry.observation);
        ui::showMessage(
            QStringLiteral("Erreur : La mémoire n'a pas pu être enregistrée (%1).").arg(error), ui::MsgIcon::Error);
        return;
    }
    m_c.Grid->refresh();
    m_c.Com_valid_memo->setEnabled(false);
}

void MemoryEditor::Com_Anul_Click()
{
    clearForm();
    m_c.Com_valid_memo->setEnabled(false);
}

void MemoryEditor::Com_eff_Click()
{
    finishReading();
    const int row = m_c.Grid->rowSel();
    if (row <= 0)
        return;
    // The grid's selection moves on when its row goes, and SelectedFreq with it: keep the removed row's key.
    const QString key = SelectedFreq;
    QStringList cells;
    for (int column = 0; column < MemoryGrid::kColumns; ++column)
        cells.append(m_c.Grid->textMatrix(row, column));
    m_c.Grid->removeItem(row);
    m_c.Grid->refresh();
    QString error;
    if (!memoryfile::Efface_qrg(key, &error)) {
        // The file still holds the entry: show it again where it was.
        m_c.Grid->addItem(cells.join(u'\t'), row);
        m_c.Grid->selectRow(row);
        ui::showMessage(
            QStringLiteral("Erreur : La mémoire n'a pas pu être supprimée (%1).").arg(error), ui::MsgIcon::Error);
        return;
    }
    clearForm();
}

void MemoryEditor::Com_envoi_freq_Click()
{
    const std::optional<qint64> tenHz = frequency::kHzTextToTenHz(SelectedFreq, QLocale());
    if (!tenHz)
        return; // the empty top row, or a frequency field holding text: nothing to send
    m_frequency.tuneTo(*tenHz);
    if (const auto code = cat::settableModeCode(SelectedMode))
        m_frequency.setMode(SelectedMode, *code);
    m_c.Com_envoi_freq->setEnabled(false);
}

void MemoryEditor::clearForm()
{
    m_c.Text_choix_qrg->clear();
    m_c.Text_choix_observ->clear();
}
