#include "memorygrid.h"

#include "twips.h"

#include <QAbstractTableModel>
#include <QHeaderView>

class MemoryGrid::Model : public QAbstractTableModel
{
public:
    QList<Row> rows;

    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveRows;

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : int(rows.size()); }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : kColumns; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        // The tooltip shows a cell the narrow columns cut short ("CW(N)" in the mode column).
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole))
            return {};
        return rows[index.row()][index.column()];
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const char *const titles[kColumns] = {"Gpr", "Fréquence", "Mode", "Observation"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumns)
            return QString::fromUtf8(titles[section]);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
};

MemoryGrid::MemoryGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new Model)
{
    m_model->setParent(this);
    // About one frame at 60 Hz: a long fill still shows its progress smoothly.
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(16);
    connect(&m_flushTimer, &QTimer::timeout, this, &MemoryGrid::flushPending);
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    horizontalHeader()->hide(); // the column titles are labels above the grid
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex &i) { emit cellClicked(i.row()); });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex &i) { emit cellDoubleClicked(i.row()); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) { emit currentRowChanged(current.row()); });
}

int MemoryGrid::rows() const
{
    return int(m_model->rows.size() + m_pending.size());
}

void MemoryGrid::flushPending()
{
    m_flushTimer.stop();
    if (m_pending.isEmpty())
        return;
    const int n = int(m_model->rows.size());
    m_model->beginInsertRows({}, n, n + int(m_pending.size()) - 1);
    m_model->rows.append(std::move(m_pending));
    m_pending.clear();
    m_model->endInsertRows();
}

void MemoryGrid::setRows(int count)
{
    count = qMax(0, count);
    if (count <= m_model->rows.size()) {
        m_pending.clear();
        m_flushTimer.stop();
    } else {
        flushPending();
    }
    const int n = int(m_model->rows.size());
    if (count < n) {
        m_model->beginRemoveRows({}, count, n - 1);
        m_model->rows.resize(count);
        m_model->endRemoveRows();
    } else if (count > n) {
        m_model->beginInsertRows({}, n, count - 1);
        m_model->rows.resize(count);
        m_model->endInsertRows();
    }
}

void MemoryGrid::addItem(const QString &tabSeparated, int index)
{
    Row row;
    qsizetype start = 0;
    for (int i = 0; i < kColumns && start <= tabSeparated.size(); ++i) {
        qsizetype tab = tabSeparated.indexOf(u'\t', start);
        if (tab < 0)
            tab = tabSeparated.size();
        row[i] = tabSeparated.mid(start, tab - start);
        start = tab + 1;
    }
    const int n = rows();
    if (index < 0 || index >= n) {
        m_pending.append(std::move(row));
        if (!m_flushTimer.isActive())
            m_flushTimer.start();
        return;
    }
    flushPending();
    m_model->beginInsertRows({}, index, index);
    m_model->rows.insert(index, std::move(row));
    m_model->endInsertRows();
}

void MemoryGrid::removeItem(int row)
{
    if (row < 0 || row >= rows())
        return;
    flushPending();
    m_model->beginRemoveRows({}, row, row);
    m_model->rows.removeAt(row);
    m_model->endRemoveRows();
}

void MemoryGrid::refresh()
{
    flushPending();
    viewport()->update();
}

int MemoryGrid::row() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

int MemoryGrid::col() const
{
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

int MemoryGrid::rowSel() const
{
    return row();
}

QString MemoryGrid::textMatrix(int row, int column) const
{
    if (row < 0 || row >= rows() || column < 0 || column >= kColumns)
        return {};
    const qsizetype shown = m_model->rows.size();
    return row < shown ? m_model->rows[row][column] : m_pending[row - shown][column];
}

void MemoryGrid::setColWidth(int column, int twips)
{
    setColumnWidth(column, ui::px(twips));
}

void MemoryGrid::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    emit focusLost();
}
