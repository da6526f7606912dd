// The item picture picker: every picture of the item image list, labelled with its index.
#pragma once

#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QPushButton;
struct WindowRegistry;

class TD_select_image final : public QDialog {
    Q_OBJECT

public:
    explicit TD_select_image(WindowRegistry& reg, QWidget* parent = nullptr);

    // Shows the picker modally with the given picture selected (an index without an entry keeps the
    // previous selection). Returns the chosen picture, or the given index when cancelled.
    int select_image(int index);

    QListWidget* LV1 = nullptr;
    QPushButton* Btn_ok = nullptr;
    QPushButton* Btn_cancel = nullptr;
    bool confirmed = false;

private:
    void Btn_okClick();
    void LV1DblClick(QListWidgetItem* item);
    void select_entry(int index);
    void center_on_screen();

    [[maybe_unused]] WindowRegistry& reg_;
};
