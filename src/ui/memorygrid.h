#pragma once

// The memory list: a four-column grid driven by the operations of a classic flex grid (Rows, AddItem with
// TAB-separated text, RemoveItem, TextMatrix, Row, RowSel, ColWidth). Row 0 is a row like any other; the
// memory editor keeps it empty. A model behind a view, so that a hundred thousand rows stay quick.

#include <QTableView>

class QAbstractTableModel;

class MemoryGrid : public QTableView
{
    Q_OBJECT

public:
    static constexpr int kColumns = 4;

    explicit MemoryGrid(QWidget *parent = nullptr);

    int rows() const;
    void setRows(int count); // drops rows beyond count, adds empty ones up to it
    void addItem(const QString &tabSeparated); // appends a row; fields beyond the fourth are dropped
    void removeItem(int row);
    void refresh();
    int row() const; // current row, -1 when none
    int col() const;
    int rowSel() const; // end row of the selection, the current row here (single selection)
    QString textMatrix(int row, int column) const;
    void setColWidth(int column, int twips);

signals:
    void cellClicked(int row);
    void cellDoubleClicked(int row);
    void currentRowChanged(int row); // by the keyboard as well as by the mouse
    void focusLost();

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    class Model;
    Model *m_model;
};
