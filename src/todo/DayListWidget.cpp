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

QLineEdit* DayListWidget::OpenEditor() const {
    if (!IsEditing()) return nullptr;
    for (QLineEdit* editor : viewport()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        if (!editor->isHidden()) return editor;
    return nullptr;
}

void DayListWidget::AcceptEdit() {
    if (QLineEdit* editor = OpenEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QListWidgetItem* DayListWidget::EditedRow() const {
    return OpenEditor() && edited_.isValid() ? itemFromIndex(edited_) : nullptr;
}

QString DayListWidget::EditorText() const {
    const QLineEdit* editor = OpenEditor();
    return editor ? editor->text() : QString();
}

bool DayListWidget::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool started = QListWidget::edit(index, trigger, event);
    if (started) edited_ = index;
    if (started)
        if (QLineEdit* editor = OpenEditor())
            connect(editor, &QLineEdit::textEdited, this, &DayListWidget::EditorTextEdited,
                    Qt::UniqueConnection);
    return started;
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
