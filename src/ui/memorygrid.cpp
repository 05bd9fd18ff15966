#include "memorygrid.h"

#include "twips.h"

#include <QAbstractTableModel>
#include <QHeaderView>

class MemoryGrid::Model : public QAbstractTableModel
{
public:
    using Row = std::array<QString, kColumns>;
    QList<Row> rows;

    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveRows;

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : int(rows.size()); }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : kColumns; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
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
    return int(m_model->rows.size());
}

void MemoryGrid::setRows(int count)
{
    count = qMax(0, count);
    const int n = rows();
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

void MemoryGrid::addItem(const QString &tabSeparated)
{
    Model::Row row;
    const QStringList fields = tabSeparated.split(u'\t');
    for (int i = 0; i < kColumns && i < fields.size(); ++i)
        row[i] = fields[i];
    const int n = rows();
    m_model->beginInsertRows({}, n, n);
    m_model->rows.append(row);
    m_model->endInsertRows();
}

void MemoryGrid::removeItem(int row)
{
    if (row < 0 || row >= rows())
        return;
    m_model->beginRemoveRows({}, row, row);
    m_model->rows.removeAt(row);
    m_model->endRemoveRows();
}

void MemoryGrid::refresh()
{
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
    return m_model->rows[row][column];
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
