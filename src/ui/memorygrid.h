#pragma once

// The memory list: a four-column grid driven by the operations of a classic flex grid (Rows, AddItem with
// TAB-separated text, RemoveItem, TextMatrix, Row, RowSel, ColWidth). Row 0 is a row like any other; the
// memory editor keeps it empty. A model behind a view, so that a hundred thousand rows stay quick.
//
// Rows appended one at a time (the memory list is filled entry by entry, with the event loop running between
// them) reach the view in batches, at most one frame apart: telling the view about each row alone would
// re-lay it out and repaint it once per row. Every operation of the grid sees all rows at once; only the
// view lags by up to a frame, and refresh() brings it up to date at once.

#include <QList>
#include <QTableView>
#include <QTimer>

#include <array>

class QAbstractTableModel;

class MemoryGrid : public QTableView
{
    Q_OBJECT

public:
    static constexpr int kColumns = 4;

    explicit MemoryGrid(QWidget *parent = nullptr);

    int rows() const;
    void setRows(int count); // drops rows beyond count, adds empty ones up to it
    // Inserts a row before index (appends when index is -1 or past the end); fields beyond the fourth are dropped.
    void addItem(const QString &tabSeparated, int index = -1);
    void removeItem(int row);
    void refresh(); // shows every row now and repaints
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
    using Row = std::array<QString, kColumns>;
    class Model;
    void flushPending(); // hands the rows waiting for the view to the model

    Model *m_model;
    QList<Row> m_pending; // appended rows the view has not been told about yet, after the model's rows
    QTimer m_flushTimer;
};
