// The results list's model: a table of text rows, "Date" and "Item". It holds texts only, so nothing in it
// can outlive the document it was found in.
#pragma once

#include "search/FindRows.h"

#include <QAbstractTableModel>
#include <vector>

class FindResultsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { DateColumn, ItemColumn, ColumnCount };

    explicit FindResultsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::vector<FindRow>& Rows() const { return rows_; }
    const FindRow* Row(int row) const;
    void Clear();
    // Appends the rows and empties the given vector.
    void Append(std::vector<FindRow>& rows);
    void Sort(const QDateTime& now);

private:
    std::vector<FindRow> rows_;
};
