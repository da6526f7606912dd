#include "hourgrid/HourGridDelegate.h"

#include <QPainter>

namespace {
constexpr int kLabelLeft = 5;
constexpr int kLabelTop = 1;
constexpr int kPictureHeight = 16;
} // namespace

QFont HourGridDelegate::SlotFont(const QFont& base, const QModelIndex& index) {
    QFont font = base;
    font.setBold(index.model()->hasChildren(index));
    return font;
}

void HourGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (!IsSlot(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    painter->save();
    painter->fillRect(option.rect,
                      option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));
    painter->setFont(SlotFont(option.font, index));
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(kLabelLeft, kLabelTop, 0, 0),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

// Every row is as high as the tallest kind, a bold label or a picture, so the tree can take one height.
QSize HourGridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    QFont bold = option.font;
    bold.setBold(true);
    const int label = QFontMetrics(bold).height() + 2 * kLabelTop + 1;
    size.setHeight(std::max({size.height(), label, kPictureHeight + 2}));
    return size;
}
