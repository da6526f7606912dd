// The hour grid: the items of one day placed at times of day. Items without a time stand in the left list;
// the tree on the right holds one slot per time of the grid hours, with the items placed at it below.
// The window works on the day's elements directly and writes only their HOUR and MINUTE.
#pragma once

#include "hourgrid/HourGridRules.h"
#include "markup/NoxPigger.h"
#include "ui/WindowEntries.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QTime>
#include <array>
#include <functional>

struct WindowRegistry;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFhour_grid final : public QDialog, public HourGridEntry {
    Q_OBJECT
public:
    explicit TFhour_grid(WindowRegistry& reg, QWidget* parent = nullptr);
    ~TFhour_grid() override;

    // Shows the day modally with the given item preselected; gives back the item the user chose last, or
    // none. Without a day it returns none at once and shows nothing.
    TNoxPigger* ShowDay(TNoxPigger* day, TNoxPigger* item) override;
    // ShowDay up to the showing: remembers the day and the item, sets the caption and fills the window.
    // False without a day.
    bool OpenDay(TNoxPigger* day, TNoxPigger* item);
    // Rebuilds both lists from the day and the grid settings.
    void Fill();

    // ---- What the hour grid print reads ----
    // The print is opened by SB_print while this window is open; the rows stay valid until it closes.
    // The day shown; none while closed.
    TNoxPigger* Day() const { return day_; }
    // The slots, top to bottom.
    QList<QTreeWidgetItem*> SlotRows() const;
    // A slot's item rows in order.
    static QList<QTreeWidgetItem*> ItemRowsOf(const QTreeWidgetItem* slot);
    // The left list's rows in order.
    QList<QListWidgetItem*> TimeIndependentRows() const;
    // The TASK element a row shows; none for a slot.
    static TNoxPigger* ElementOf(const QTreeWidgetItem* row);
    static TNoxPigger* ElementOf(const QListWidgetItem* row);
    // The text drawn for a tree row: an item's CAPTION unchanged, or the slot's label ("08 : 30",
    // "01 : 30 PM", "before 08 : 00", "after 21 : 00").
    QString SlotDisplayLabel(const QTreeWidgetItem* row) const;

    // ---- Slots ----
    static bool IsSlot(const QTreeWidgetItem* row);
    static hourgrid::SlotTime SlotTimeOf(const QTreeWidgetItem* slot);
    // "HH : MM"; empty for an item row.
    static QString SlotTimeText(const QTreeWidgetItem* row);
    const hourgrid::GridSettings& Grid() const { return grid_; }

    // ---- Commands ----
    void SB_printClick();
    // Go to current time.
    void SB_nowClick();
    // The settings on their hour grid page, then a fresh fill.
    void SB_settingsClick();
    // Place item: the left list's selected item takes the time of the selected slot.
    void SB_move_rightClick();
    // Take time away: the tree's selected item goes back to the left list.
    void SB_move_leftClick();
    void Btn_helpClick();
    void UpdateCommandStates();

    TNoxPigger* Result() const { return result_; }
    TNoxPigger* Preselected() const { return preselected_; }

    // The time of day the window goes by; tests set their own.
    std::function<QTime()> CurrentTime;

    QToolButton* SB_print = nullptr;
    QToolButton* SB_now = nullptr;
    QToolButton* SB_settings = nullptr;
    QLabel* Label_time_independed = nullptr;
    QListWidget* CLB1 = nullptr;
    QToolButton* SB_move_right = nullptr;
    QToolButton* SB_move_left = nullptr;
    QLabel* Label_time_depended = nullptr;
    QTreeWidget* TV1 = nullptr;
    QPushButton* Btn_help = nullptr;
    QPushButton* BtnClose = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    QTreeWidgetItem* NewSlotRow(const hourgrid::SlotTime& time) const;
    QTreeWidgetItem* NewItemRow(TNoxPigger* item) const;
    QListWidgetItem* AddLeftRow(TNoxPigger* item);
    void RemoveLeftRow(const TNoxPigger* item);
    QTreeWidgetItem* RemoveTreeRow(const TNoxPigger* item);
    QListWidgetItem* SelectedLeftRow() const;
    QTreeWidgetItem* SelectedTreeRow() const;
    void SelectSlot(QTreeWidgetItem* slot);
    // The row's picture when INDEX is a number; in the tree also while selected.
    QIcon ItemPicture(const TNoxPigger& item, bool sameWhenSelected) const;
    void CLB1SelectionChanged();
    void TV1SelectionChanged();
    void CLB1DblClick();
    void TV1DblClick();
    bool CLB1KeyDown(const QKeyEvent* event);
    bool TV1KeyDown(const QKeyEvent* event);
    // The tree's selection shows in the button colour while the tree lacks the focus.
    void ShowTreeFocus(bool focused);
    // The rows refer to the document only while the window is open.
    void Empty();

    WindowRegistry& reg_;
    TNoxPigger* day_ = nullptr;
    TNoxPigger* preselected_ = nullptr;
    TNoxPigger* result_ = nullptr;
    hourgrid::GridSettings grid_;
    std::array<QIcon, 36> treePictures_;
};
