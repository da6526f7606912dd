#include "search/FindResultsModel.h"

#include "todo/rules/TextCodec.h"

#include <iterator>

FindResultsModel::FindResultsModel(QObject* parent) : QAbstractTableModel(parent) {}

int FindResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FindResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FindResultsModel::data(const QModelIndex& index, int role) const {
    const FindRow* row = Row(index.row());
    if (!row || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    // Only the rows on screen are asked for, so decoding here costs nothing for a long list.
    return to_qstring(index.column() == DateColumn ? row->date : row->item);
}

QVariant FindResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case DateColumn:
        return QStringLiteral("Date");
    case ItemColumn:
        return QStringLiteral("Item");
    default:
        return {};
    }
}

const FindRow* FindResultsModel::Row(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return nullptr;
    return &rows_[static_cast<size_t>(row)];
}

void FindResultsModel::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void FindResultsModel::Append(std::vector<FindRow>& rows) {
    if (rows.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
    rows.clear();
}

void FindResultsModel::Sort(const QDateTime& now) {
    beginResetModel();
    sort_find_rows(rows_, now);
    endResetModel();
}
