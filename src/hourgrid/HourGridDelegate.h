// Draws the hour grid's tree: a slot row as its label on its own background, bold while it holds items;
// item rows the usual way.
#pragma once

#include <QStyledItemDelegate>

class HourGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static bool IsSlot(const QModelIndex& index) { return !index.parent().isValid(); }
    // The font a slot's label is drawn in.
    static QFont SlotFont(const QFont& base, const QModelIndex& index);
};
