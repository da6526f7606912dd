// The day list: a list widget that reports drops onto its rows instead of moving rows itself, and can
// finish an open in-place edit on request.
#pragma once

#include <QListWidget>
#include <functional>

class DayListWidget final : public QListWidget {
    Q_OBJECT
public:
    explicit DayListWidget(QWidget* parent = nullptr);

    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }
    // Accepts an in-place edit in progress, keeping what the user typed.
    void AcceptEdit();

    // Sees every key press before the list's own handling; true when it consumed the key.
    std::function<bool(QKeyEvent*)> OnKeyDown;

signals:
    // A row was dropped onto another row (or onto none: -1).
    void RowDropped(QListWidgetItem* target);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
