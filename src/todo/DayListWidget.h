// The day list: a list widget that reports drops onto its rows instead of moving rows itself, and can
// finish an open in-place edit on request.
#pragma once

#include <QListWidget>
#include <functional>

class QLineEdit;

class DayListWidget final : public QListWidget {
    Q_OBJECT
public:
    explicit DayListWidget(QWidget* parent = nullptr);

    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }
    // Accepts an in-place edit in progress, keeping what the user typed.
    void AcceptEdit();
    // The row being edited in place and the text typed so far, the edit staying open; none without an edit.
    QListWidgetItem* EditedRow() const;
    QString EditorText() const;

    // Sees every key press before the list's own handling; true when it consumed the key.
    std::function<bool(QKeyEvent*)> OnKeyDown;

signals:
    // A row was dropped onto another row (or onto none: -1).
    void RowDropped(QListWidgetItem* target);
    // The user typed into an in-place edit.
    void EditorTextEdited();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The open editor: the viewport's line edit that is shown; closed ones are already on their way out.
    QLineEdit* OpenEditor() const;

    QPersistentModelIndex edited_;
};
