#include "todo/DayListWidget.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>

DayListWidget::DayListWidget(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
}

void DayListWidget::AcceptEdit() {
    if (!IsEditing()) return;
    // The open editor is the viewport's line edit that still has focus or is shown; closed ones are
    // already on their way out.
    for (QLineEdit* editor : viewport()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        if (editor->isHidden()) continue;
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        return;
    }
}

// Only this list accepts the drop.
void DayListWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this)
        QListWidget::dragEnterEvent(event);
    else
        event->ignore();
}

void DayListWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() == this)
        QListWidget::dragMoveEvent(event);
    else
        event->ignore();
}

void DayListWidget::dropEvent(QDropEvent* event) {
    if (event->source() != this) {
        event->ignore();
        return;
    }
    // The window reorders the document and refills; the list must not move rows on its own.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    emit RowDropped(itemAt(event->position().toPoint()));
}

void DayListWidget::keyPressEvent(QKeyEvent* event) {
    if (OnKeyDown && OnKeyDown(event)) return;
    QListWidget::keyPressEvent(event);
}
