#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "app/TD_settings_user.h"
#include "dialogs/TDmsg.h"
#include "hourgrid/TFhour_grid.h"
#include "todo/DayListWidget.h"
#include "todo/rules/TodoRules.h"
#include "ui/WindowEntries.h"
#include "ui/WrapText.h"

#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

class HourGrid : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Create(ProgramWindows::SettingsDialog | ProgramWindows::Msg | ProgramWindows::HourGrid);
        grid = program->HourGridWindow();
        grid->CurrentTime = [this] { return now; };
        day = todo::find_or_create_day(reg().list.Doc(), "12/8/2026");
        Grid(8, 20, 30, false);
    }
    void Grid(int first, int last, int resolution, bool amPm) {
        reg().settings.SetGridHours(first, last);
        reg().settings.SetTimeResolution(resolution);
        reg().settings.SetAmPm(amPm);
    }
    TNoxPigger* Item(const std::string& caption, const std::string& hour = "", const std::string& minute = "",
                     const std::string& index = "1") {
        TNoxPigger* item = day->AddChild("TASK");
        for (const auto& [name, value] :
             {std::pair{"CAPTION", caption}, {"INDEX", index}, {"HOUR", hour}, {"MINUTE", minute}})
            item->SetAttr(name, value);
        return item;
    }
    std::string Label(const QTreeWidgetItem* row) const { return grid->SlotDisplayLabel(row).toStdString(); }
    // The slots holding items, as "label{captions} ", top to bottom.
    std::string Filled() const {
        std::string out;
        for (QTreeWidgetItem* slot : grid->SlotRows()) {
            const auto rows = TFhour_grid::ItemRowsOf(slot);
            if (rows.isEmpty()) continue;
            out += Label(slot) + "{";
            for (QTreeWidgetItem* row : rows)
                out += Label(row) + (row == rows.last() ? "" : ",");
            out += "} ";
        }
        return out;
    }
    // What the user sees of the state: the left list (* selected), the tree's selection, the move buttons,
    // the focus and the result.
    std::string State() const {
        std::string out = "left:";
        for (QListWidgetItem* row : grid->TimeIndependentRows())
            out +=
                std::string(row->isSelected() ? " *" : " ") + TFhour_grid::ElementOf(row)->GetAttr("CAPTION");
        const auto tree = grid->TV1->selectedItems();
        if (!tree.isEmpty()) {
            const QTreeWidgetItem* row = tree.first();
            out += " | tree: " + (row->parent() ? Label(row->parent()) + "/" : "") + Label(row);
        }
        out += std::string(" | move:") + (grid->SB_move_right->isEnabled() ? " right" : "") +
               (grid->SB_move_left->isEnabled() ? " left" : "");
        if (QWidget* focus = QApplication::focusWidget())
            out += " | focus: " + focus->objectName().toStdString();
        return out + " | result: " + (grid->Result() ? grid->Result()->GetAttr("CAPTION") : "none");
    }
    QTreeWidgetItem* Slot(const std::string& label) const {
        for (QTreeWidgetItem* slot : grid->SlotRows())
            if (Label(slot) == label) return slot;
        ADD_FAILURE() << "no slot " << label;
        return nullptr;
    }
    TFhour_grid* grid = nullptr;
    TNoxPigger* day = nullptr;
    QTime now{13, 40};
};

TEST_F(HourGrid, ControlsCarryTheirTextsAndHintsAndTheTreeItsLook) {
    grid->OpenDay(day, nullptr);
    grid->layout()->activate();
    EXPECT_EQ(grid->windowTitle(), "Hour grid 12/8/2026");
    ExpectControls(*grid, {{"SB_print", {}, false, "Print"},
                           {"SB_now", {}, true, "Go to current time "},
                           {"SB_settings", {}, true, "Settings"},
                           {"SB_move_right", {}, false, "Move item to right list (Ctrl+RIGHT)"},
                           {"SB_move_left", {}, false, "Move item to left list (CTRL+LEFT)"},
                           {"Label_time_independed", "Time independed items:"},
                           {"Label_time_depended", "Time depended items:"},
                           {"Btn_help", "Help", true},
                           {"BtnClose", "Ok", true}});
    EXPECT_TRUE(grid->Label_time_independed->font().bold() && grid->minimumSize() == grid->maximumSize());
    EXPECT_TRUE(!grid->TV1->rootIsDecorated() && grid->TV1->indentation() == 27 &&
                grid->TV1->editTriggers() == 0);
}

struct FillCase {
    int resolution;
    bool amPm;
    int slotCount;
    const char* filled;
    const char* selected;
};

// How a case reads in the test list; its bytes would change from build to build.
void PrintTo(const FillCase& c, std::ostream* out) {
    *out << c.resolution << (c.amPm ? " min AM-PM" : " min 24-hour");
}

class HourGridFill : public HourGrid, public ::testing::WithParamInterface<FillCase> {};

TEST_P(HourGridFill, BuildsTheSlotsPlacesTheItemsAndSelectsTheCurrentTime) {
    const FillCase& c = GetParam();
    Grid(8, 20, c.resolution, c.amPm);
    TNoxPigger* early = Item("early", "6", "30");
    TNoxPigger* plain = Item("plain", "", "", "x");
    TNoxPigger* mid = Item("mid", "10", "05");
    Item("late", "22", "15");
    Item("mid2", "10");
    grid->OpenDay(day, plain);
    EXPECT_EQ(grid->SlotRows().size(), c.slotCount);
    const std::string edges[2][2] = {{"before 08 : 00{early} ", "after 21 : 00{late} "},
                                     {"before 08 : 00 AM{early} ", "after 09 : 00 PM{late} "}};
    EXPECT_EQ(Filled(), edges[c.amPm][0] + c.filled + edges[c.amPm][1]) << "document order within a slot";
    EXPECT_EQ(State(), std::string("left: *plain | tree: ") + c.selected + " | move: right | result: plain");
    EXPECT_EQ(early->GetAttr("HOUR"), "6") << "read, not rewritten";
    EXPECT_EQ(TFhour_grid::SlotTimeText(grid->SlotRows().first()), "06 : 00");
    const QTreeWidgetItem* earlyRow = grid->SlotRows().first()->child(0);
    EXPECT_TRUE(grid->CLB1->item(0)->icon().isNull() && !earlyRow->icon(0).isNull()) << "numbers only";
    EXPECT_FALSE(earlyRow->data(0, Qt::CheckStateRole).isValid()) << "no ticks";
    for (QTreeWidgetItem* slot : grid->SlotRows())
        EXPECT_TRUE(!slot->isExpanded() && slot->text(0) == grid->SlotDisplayLabel(slot)) << Label(slot);
    grid->OpenDay(day, mid);
    EXPECT_EQ(State(), std::string("left: plain | tree: ") + c.selected + " | move: | result: none");
}

INSTANTIATE_TEST_SUITE_P(
    ResolutionsAndViewModes, HourGridFill,
    ::testing::Values(FillCase{60, false, 15, "10 : 00{mid,mid2} ", "13 : 00"},
                      FillCase{30, false, 28, "10 : 00{mid2} 10 : 30{mid} ", "13 : 30"},
                      FillCase{15, false, 54, "10 : 00{mid2} 10 : 15{mid} ", "13 : 30"},
                      FillCase{60, true, 15, "10 : 00 AM{mid,mid2} ", "01 : 00 PM"},
                      FillCase{30, true, 28, "10 : 00 AM{mid2} 10 : 30 AM{mid} ", "01 : 30 PM"},
                      FillCase{15, true, 54, "10 : 00 AM{mid2} 10 : 15 AM{mid} ", "01 : 30 PM"}));

TEST_F(HourGrid, WithTheFirstHourAfterTheLastItemsStillGetSlotsAndTheCurrentTimeIsOutOfRange) {
    Grid(20, 5, 30, false);
    Item("x", "10", "15");
    Item("y", "03", "00");
    grid->OpenDay(day, nullptr);
    EXPECT_EQ(Filled(), "before 20 : 00{y} before 20 : 00{x} ");
    QString message;
    ModalAnswer answer([&](QWidget* d) {
        message = without_break_chances(reg().msg->Label_message->text());
        d->close();
    });
    grid->SB_nowClick();
    EXPECT_EQ(message, "The current time is " + QLocale().toString(now, QLocale::LongFormat) +
                           ".\nIt's out of grid range.");
    EXPECT_TRUE(grid->TV1->selectedItems().isEmpty());
}

TEST_F(HourGrid, PlacingGivesTheSlotsTimeAndTakingItAwayRemovesIt) {
    struct Case {
        const char* target; // empty: no tree selection
        bool onItemRow;
        const char* time;
        const char* placed;
    };
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(grid));
    int n = 0;
    for (const Case& c :
         {Case{"11 : 30", false, "11:30", "left: | tree: 11 : 30/moving | move: left | focus: TV1"},
          Case{"10 : 00", true, "10:00", "left: | tree: 10 : 00/moving | move: left | focus: TV1"},
          Case{"before 08 : 00", false, "06:00",
               "left: | tree: before 08 : 00/moving | move: left | focus: TV1"},
          Case{"", false, ":", "left: *moving | move: right | focus: CLB1"}}) {
        SCOPED_TRACE(c.target);
        day = todo::find_or_create_day(reg().list.Doc(), "day " + std::to_string(++n));
        Item("early", "06", "30");
        Item("there", "10", "00");
        TNoxPigger* moving = Item("moving");
        grid->OpenDay(day, nullptr);
        grid->CLB1->setFocus();
        grid->CLB1->setCurrentRow(0);
        QTreeWidgetItem* slot = *c.target ? Slot(c.target) : nullptr;
        grid->TV1->setCurrentItem(slot && c.onItemRow ? slot->child(0) : slot);
        if (!slot) grid->TV1->clearSelection();
        EXPECT_EQ(grid->Result(), moving) << "the tree chooses only while it has the focus";
        const auto revision = reg().list.Revision();

        grid->SB_move_rightClick();
        EXPECT_EQ(moving->GetAttr("HOUR") + ":" + moving->GetAttr("MINUTE"), c.time);
        EXPECT_EQ(State(), c.placed + std::string(" | result: moving"));
        EXPECT_EQ(reg().list.Revision() > revision, slot != nullptr);
        if (!slot) continue;
        EXPECT_TRUE(slot->isExpanded());
        EXPECT_EQ(Label(slot->child(slot->childCount() - 1)), "moving") << "the slot's last row";

        grid->SB_move_leftClick();
        EXPECT_EQ(moving->AttrCount(), 2) << "HOUR and MINUTE are gone";
        EXPECT_EQ(State(),
                  "left: *moving | tree: " + Label(slot) + " | move: right | focus: CLB1 | result: moving");
    }
}

TEST_F(HourGrid, F4OpensTheShownDayTheKeysMoveItemsAndTheMainWindowSelectsTheItemClosedOn) {
    Create(ProgramWindows::All);
    grid = program->HourGridWindow();
    grid->CurrentTime = [this] { return now; };
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    day = main->current_day;
    Item("a");
    Item("b", "10", "00");
    TNoxPigger* c = Item("c");
    main->fill_day_list();
    main->LV1->setCurrentRow(0);
    ModalAnswer answer([&](QWidget*) {
        EXPECT_EQ(grid->windowTitle().toStdString(), "Hour grid " + main->shown_key());
        QListWidget* left = grid->CLB1;
        QTreeWidget* tree = grid->TV1;
        tree->setCurrentItem(Slot("11 : 00"));
        QTest::keyClick(left, Qt::Key_Right);
        EXPECT_EQ(State(), "left: *a c | tree: 11 : 00 | move: right | focus: TV1 | result: a");
        QTest::keyClick(tree, Qt::Key_Left);
        EXPECT_EQ(State(), "left: *a c | tree: 11 : 00 | move: right | focus: CLB1 | result: a");
        QTest::keyClick(left, Qt::Key_Right, Qt::ControlModifier);
        EXPECT_EQ(State(), "left: c | tree: 11 : 00/a | move: left | focus: TV1 | result: a");
        QTest::keyClick(tree, Qt::Key_Left, Qt::ControlModifier);
        EXPECT_EQ(State(), "left: c *a | tree: 11 : 00 | move: right | focus: CLB1 | result: a");
        QTest::keyClick(left, Qt::Key_Right, Qt::ControlModifier);
        tree->setCurrentItem(Slot("10 : 00"));
        QTest::keyClick(tree, Qt::Key_Return);
        EXPECT_TRUE(grid->isVisible()) << "Enter on a slot does not close";
        tree->setCurrentItem(Slot("10 : 00")->child(0));
        QTest::keyClick(tree, Qt::Key_Left);
        EXPECT_TRUE(tree->hasFocus()) << "an item row keeps the focus";
        tree->setCurrentItem(Slot("10 : 00")->child(0));
        QTest::keyClick(tree, Qt::Key_Return);
    });
    QTest::keyClick(main, Qt::Key_F4);
    EXPECT_EQ(main->selected_row()->text(), "b");
    EXPECT_TRUE(grid->SlotRows().isEmpty()) << "no rows refer to the document while closed";
    ASSERT_TRUE(main->N_SaveClick());
    EXPECT_NE(ReadBytes(DataFile()).find("CAPTION=\"a\" INDEX=\"1\" HOUR=\"11\" MINUTE=\"00\""),
              std::string::npos);
    {
        ModalAnswer enterOnLeft([&](QWidget*) {
            grid->CLB1->setCurrentRow(0);
            QTest::keyClick(grid->CLB1, Qt::Key_Enter);
        });
        EXPECT_EQ(grid->ShowDay(day, nullptr), c);
    }
    QTimer::singleShot(0, grid, [this] {
        if (!grid->isVisible()) return;
        ADD_FAILURE() << "shown without a day";
        grid->reject();
    });
    EXPECT_EQ(grid->ShowDay(nullptr, c), nullptr);
}

TEST_F(HourGrid, SettingsOpenOnTheHourGridPageThenTheGridIsBuiltAgainAndPrintGoesThroughTheRegistry) {
    Item("p");
    Item("q");
    grid->OpenDay(day, day->Child(0));
    grid->CLB1->setCurrentRow(1);
    ModalAnswer answer([&](QWidget* d) {
        EXPECT_EQ(reg().settingsDialog->PageControl1->currentWidget(),
                  reg().settingsDialog->TabSheet_hour_grid);
        click_button(d, "15 min");
        click_button(d, "Close");
    });
    grid->SB_settingsClick();
    EXPECT_EQ(grid->SlotRows().size(), 52);
    EXPECT_EQ(grid->Result()->GetAttr("CAPTION"), "q") << "the user's choice stays";

    struct : HourGridPrintEntry {
        TNoxPigger* printed = nullptr;
        void ExecuteHourGrid(TNoxPigger* shown) override { printed = shown; }
    } print;
    reg().printHourGrid = &print;
    grid->OpenDay(day, nullptr);
    grid->SB_printClick();
    EXPECT_EQ(print.printed, day);
    reg().printHourGrid = nullptr;
}

} // namespace
