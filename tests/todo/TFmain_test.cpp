#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "todo/DayListWidget.h"
#include "todo/ItemRows.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {

class MainWindow : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Start();
    }

    // A day with items given by their captions, shown in the list.
    void ShowDay(const QDate& date, const std::vector<std::string>& captions) {
        TNoxPigger* day = todo::find_or_create_day(*main->TodoDoc(), render_day_key(date));
        for (const auto& c : captions)
            day->AddChild("TASK")->SetAttr("CAPTION", c);
        main->go_to_date(date);
    }
    std::vector<std::string> Captions(const TNoxPigger* day) const {
        std::vector<std::string> out;
        for (TNoxPigger* t : day->Children())
            out.push_back(t->GetAttr("CAPTION"));
        return out;
    }
    void Select(int row) {
        main->LV1->setCurrentRow(row);
        main->LV1->item(row)->setSelected(true);
    }
    void Tick(int row, bool on) { main->LV1->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked); }
    void PickDate(const QDate& date) { main->DatePicker1->setDate(date); } // as the user does
};

TEST_F(MainWindow, ControlsCarryTheirTextsHintsAndShortcuts) {
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Quillmarch (freeware edition)"));
    EXPECT_EQ(main->RB_date_on->text(), QStringLiteral("Date:"));
    EXPECT_TRUE(main->RB_date_on->isChecked());
    EXPECT_EQ(main->RB_date_off->text(), QStringLiteral("Date independed To Do Items"));
    EXPECT_EQ(main->DatePicker1->date(), QDate::currentDate());
    ExpectControls(
        *main, {{"TB_add_task", {}, true, "Add item"},
                {"TB_del_task", {}, false, "Delete item"},
                {"TB_move", {}, false, "Move item to other date"},
                {"TB_search", {}, true, "Search"},
                {"TB_hour", {}, true, "Hour grid"},
                {"TB_tvshow", {}, true, "Loved TV show"},
                {"SB_stand_by", {}, true, "Stand by"},
                {"N_Save", "Save", {}, {}, QKeySequence(Qt::CTRL | Qt::Key_S)},
                {"N_Print", "Print...", {}, {}, QKeySequence(Qt::CTRL | Qt::Key_P)},
                {"N_Add", "Add", true, {}, QKeySequence(Qt::CTRL | Qt::Key_Insert)},
                {"N_Delete", "Delete", false, {}, QKeySequence(Qt::CTRL | Qt::Key_Delete)},
                {"N_Edit_text", "Edit text", false, {}, QKeySequence(Qt::Key_F2)},
                {"N_Change_image", "Change image", false, {}, QKeySequence(Qt::Key_F3)},
                {"N_hour_grid", "Hour grid", true, {}, QKeySequence(Qt::Key_F4)},
                {"N_Movetootherdate", "Move the item to other date", false, {}, QKeySequence(Qt::Key_F6)},
                {"N_Context_search", "Context search", {}, {}, QKeySequence(Qt::CTRL | Qt::Key_F)},
                {"N_Find_uncompleted", "Find uncompleted items", {}, {}, QKeySequence(Qt::CTRL | Qt::Key_F7)},
                {"N_Help1", "Help", {}, {}, QKeySequence(Qt::Key_F1)},
                {"N_pMove", "Move the item to otehr date", false}});
    for (const char* name :
         {"TB_add_task", "TB_del_task", "TB_move", "TB_search", "TB_hour", "TB_tvshow", "SB_stand_by"})
        EXPECT_EQ(main->findChild<QToolButton*>(name)->size(), QSize(36, 36)) << name;
    EXPECT_EQ(main->PageControl1->tabText(0), QStringLiteral("Description"));
    // Nothing selected at start: only Add is offered among the item commands.
    EXPECT_FALSE(main->Memo_dsc->isEnabled());
}

TEST_F(MainWindow, TicksAndTextsAreStoredBeforeAnotherDayIsShown) {
    const QDate day(2026, 5, 10);
    ShowDay(day, {"a", "b"});
    TNoxPigger* shown = main->current_day;
    Tick(0, true);
    main->LV1->item(1)->setText(QStringLiteral("b edited"));
    PickDate(day.addDays(1));
    EXPECT_EQ(shown->Child(0)->GetAttr("D"), "Y");
    EXPECT_EQ(shown->Child(1)->GetAttr("CAPTION"), "b edited");
    EXPECT_EQ(shown->Child(1)->GetAttr("INDEX"), "0");

    PickDate(day);
    ASSERT_EQ(main->LV1->item(0)->checkState(), Qt::Checked);
    Tick(0, false);
    PickDate(day.addDays(2));
    EXPECT_EQ(shown->Child(0)->GetAttr("D"), "");
    EXPECT_EQ(shown->Child(0)->AttrCount(), 2); // CAPTION and INDEX, no D
}

TEST_F(MainWindow, ADescriptionTypedForOneItemNeverLandsOnAnother) {
    ShowDay(QDate(2026, 5, 10), {"first", "second"});
    TNoxPigger* first = main->current_day->Child(0);
    TNoxPigger* second = main->current_day->Child(1);
    Select(0);
    // Selecting creates the description and remarks.
    ASSERT_NE(first->FindChild("DSC"), nullptr);
    ASSERT_NE(first->FindChild("REM"), nullptr);
    main->Memo_dsc->setPlainText(QStringLiteral("line one\nline two"));

    // Ticking another item stores the text with the selected one and shows it again unchanged.
    Tick(1, true);
    EXPECT_EQ(first->FindChild("DSC")->Text, "line one\r\nline two");
    EXPECT_EQ(main->Memo_dsc->toPlainText(), QStringLiteral("line one\nline two"));

    // Moving the selection stores into the old item first, then shows the new one's.
    main->Memo_dsc->setPlainText(QStringLiteral("for first"));
    Select(1);
    EXPECT_EQ(first->FindChild("DSC")->Text, "for first");
    EXPECT_EQ(second->FindChild("DSC")->Text, "");
    EXPECT_TRUE(main->Memo_dsc->toPlainText().isEmpty());

    // A day switch leaves the area empty with no row selected.
    main->Memo_dsc->setPlainText(QStringLiteral("for second"));
    main->step_day(true);
    EXPECT_EQ(second->FindChild("DSC")->Text, "for second");
    EXPECT_TRUE(main->Memo_dsc->toPlainText().isEmpty());
    EXPECT_EQ(main->selected_row(), nullptr);

    // Characters the user did not touch stay as they were (no-break spaces); a line break typed with
    // Shift+Enter is a line break like any other.
    main->step_day(false);
    Select(0);
    main->Memo_dsc->setPlainText(QString::fromUtf8("10\u00a0km\nthen"));
    main->Memo_dsc->moveCursor(QTextCursor::End);
    QTest::keyClick(main->Memo_dsc, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(main->Memo_dsc, QStringLiteral("on!"));
    main->store_day_list();
    EXPECT_EQ(first->FindChild("DSC")->Text, "10\u00a0km\r\nthen\r\non!");
}

TEST_F(MainWindow, DragAndDropMovesTheItemToTheTargetsPlace) {
    ShowDay(QDate(2026, 5, 10), {"first", "second", "third"});
    TNoxPigger* day = main->current_day;
    Select(0);
    emit main->LV1->RowDropped(main->LV1->item(2));
    EXPECT_EQ(Captions(day), (std::vector<std::string>{"second", "third", "first"}));
    EXPECT_EQ(main->selected_row(), nullptr);
    EXPECT_EQ(main->LV1->item(2)->text(), QStringLiteral("first"));

    Select(2);
    emit main->LV1->RowDropped(main->LV1->item(0));
    EXPECT_EQ(Captions(day), (std::vector<std::string>{"first", "second", "third"}));

    // Onto itself or onto no row: nothing moves.
    Select(1);
    emit main->LV1->RowDropped(main->LV1->item(1));
    emit main->LV1->RowDropped(nullptr);
    EXPECT_EQ(Captions(day), (std::vector<std::string>{"first", "second", "third"}));
}

TEST_F(MainWindow, DeleteAsksFirstAndNoChangesNothing) {
    ShowDay(QDate(2026, 5, 10), {"only"});
    TNoxPigger* day = main->current_day;
    Select(0);
    {
        ModalAnswer answer([](QWidget* d) { click_button(d, QStringLiteral("No")); });
        main->N_DeleteClick();
    }
    EXPECT_EQ(day->ChildCount(), 1);
    EXPECT_EQ(main->LV1->count(), 1);
    {
        ModalAnswer answer([](QWidget* d) {
            EXPECT_TRUE(d->findChildren<QWidget*>().size() > 0);
            click_button(d, QStringLiteral("Yes"));
        });
        main->N_DeleteClick();
    }
    EXPECT_EQ(day->ChildCount(), 0);
    EXPECT_EQ(main->LV1->count(), 0);
    EXPECT_FALSE(main->N_Delete->isEnabled());
    // The emptied day stays until the program closes.
    EXPECT_EQ(main->TodoDoc()->IndexOfChild(day) >= 0, true);
}

TEST_F(MainWindow, DeletingOneOfSeveralRowsLeavesNoRowSelected) {
    ShowDay(QDate(2026, 5, 10), {"first", "second", "third"});
    TNoxPigger* day = main->current_day;
    Select(1);
    EXPECT_TRUE(main->N_pEdit_text->isEnabled());
    EXPECT_TRUE(main->N_pMove->isEnabled());
    EXPECT_TRUE(main->TB_move->isEnabled());
    EXPECT_TRUE(main->Memo_dsc->isEnabled());
    {
        ModalAnswer answer([](QWidget* d) { click_button(d, QStringLiteral("Yes")); });
        main->N_DeleteClick();
    }
    EXPECT_EQ(Captions(day), (std::vector<std::string>{"first", "third"}));
    ASSERT_EQ(main->LV1->count(), 2);
    EXPECT_EQ(main->LV1->item(1)->text(), QStringLiteral("third"));
    EXPECT_EQ(main->selected_row(), nullptr) << "the list must not pick the next row by itself";
    EXPECT_FALSE(main->N_Delete->isEnabled());
    EXPECT_FALSE(main->Memo_dsc->isEnabled());
}

TEST_F(MainWindow, KeysInTheListEnterEditsAndModifiedArrowsOrOtherDropsChangeNothing) {
    ShowDay(QDate(2026, 5, 10), {"first", "second"});
    TNoxPigger* day = main->current_day;
    main->LV1->setFocus();
    QTest::keyClick(main->LV1, Qt::Key_Return);
    EXPECT_FALSE(main->LV1->IsEditing()) << "no row selected";
    Select(0);
    QTest::keyClick(main->LV1, Qt::Key_Return);
    EXPECT_TRUE(main->LV1->IsEditing());
    main->LV1->AcceptEdit();

    for (Qt::KeyboardModifier m : {Qt::ControlModifier, Qt::AltModifier}) {
        QTest::keyClick(main->LV1, Qt::Key_Right, m);
        EXPECT_EQ(main->current_day, day);
        EXPECT_EQ(main->DatePicker1->date(), QDate(2026, 5, 10));
    }

    // Something dropped from outside the list is refused.
    QMimeData text;
    text.setText(QStringLiteral("dragged from elsewhere"));
    const QPoint onFirst = main->LV1->visualItemRect(main->LV1->item(0)).center();
    QDropEvent drop(onFirst, Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main->LV1->viewport(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    EXPECT_EQ(Captions(day), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(main->LV1->count(), 2);
}

TEST_F(MainWindow, AddStartsEditingNewItemAndStoresPictureZero) {
    ShowDay(QDate(2026, 5, 11), {});
    main->N_AddClick();
    ASSERT_EQ(main->LV1->count(), 1);
    EXPECT_EQ(main->LV1->item(0)->text(), QStringLiteral("New item"));
    EXPECT_TRUE(main->LV1->IsEditing());
    TNoxPigger* item = main->current_day->Child(0);
    EXPECT_EQ(item->GetAttr("CAPTION"), "New item");
    EXPECT_EQ(item->GetAttr("INDEX"), "");

    // What is typed into the open edit survives a save made meanwhile.
    auto* editor = main->LV1->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Call the plumber"));
    main->store_day_list();
    EXPECT_EQ(item->GetAttr("CAPTION"), "Call the plumber");
    EXPECT_EQ(item->GetAttr("INDEX"), "0");
    EXPECT_FALSE(main->LV1->IsEditing());
}

TEST_F(MainWindow, HourGridCommandFollowsTheMode) {
    EXPECT_TRUE(main->N_hour_grid->isEnabled());
    EXPECT_TRUE(main->TB_hour->isEnabled());
    main->RB_date_off->click();
    EXPECT_FALSE(main->N_hour_grid->isEnabled());
    EXPECT_FALSE(main->TB_hour->isEnabled());
    EXPECT_FALSE(main->DatePicker1->isEnabled());
    EXPECT_EQ(main->current_day->GetAttr("DATE"), "N/A");
    main->RB_date_on->click();
    EXPECT_TRUE(main->N_hour_grid->isEnabled());
    // A click on the mode already chosen keeps the list and its selection.
    main->add_item(main->current_day, "kept selected");
    ASSERT_NE(main->selected_row(), nullptr);
    main->RB_date_on->click();
    EXPECT_NE(main->selected_row(), nullptr);
    EXPECT_EQ(main->current_day->GetAttr("DATE"), render_day_key(main->DatePicker1->date()));

    // A key that is no date shows its day in date-independent mode, and so does one whose year the
    // picker cannot show.
    for (const char* foreign : {"1/1/0050", "someday"}) {
        main->go_to_day(foreign);
        EXPECT_TRUE(main->RB_date_off->isChecked()) << foreign;
        EXPECT_EQ(main->current_day->GetAttr("DATE"), foreign);
    }
    EXPECT_FALSE(main->N_hour_grid->isEnabled());
    // From there the date-independent button still leads to the date-independent list.
    main->RB_date_off->click();
    EXPECT_EQ(main->current_day->GetAttr("DATE"), "N/A");
}

TEST_F(MainWindow, ArrowKeysStepDaysOnlyInDateModeAndNotWhileEditing) {
    ShowDay(QDate(2026, 1, 31), {"x"});
    TNoxPigger* january = main->current_day;
    Tick(0, true);
    main->LV1->setFocus();
    QTest::keyClick(main->LV1, Qt::Key_Right);
    EXPECT_EQ(main->DatePicker1->date(), QDate(2026, 2, 1));
    EXPECT_EQ(main->current_day->GetAttr("DATE"), "2/1/2026");
    EXPECT_EQ(main->selected_row(), nullptr);
    EXPECT_EQ(january->Child(0)->GetAttr("D"), "Y");
    QTest::keyClick(main->LV1, Qt::Key_Left);
    EXPECT_EQ(main->DatePicker1->date(), QDate(2026, 1, 31));

    Select(0);
    main->N_Edit_textClick();
    ASSERT_TRUE(main->LV1->IsEditing());
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    EXPECT_FALSE(main->LV1->OnKeyDown(&left));
    EXPECT_EQ(main->DatePicker1->date(), QDate(2026, 1, 31));
    main->LV1->AcceptEdit();

    main->RB_date_off->click();
    QTest::keyClick(main->LV1, Qt::Key_Left);
    EXPECT_EQ(main->current_day->GetAttr("DATE"), "N/A");

    // The picker reaches any four-digit year, and stepping stops at the calendar's last day.
    main->RB_date_on->click();
    ShowDay(QDate(1500, 3, 1), {"old"});
    EXPECT_EQ(main->DatePicker1->date(), QDate(1500, 3, 1));
    ShowDay(QDate(9999, 12, 31), {"last"});
    QTest::keyClick(main->LV1, Qt::Key_Right);
    EXPECT_EQ(main->DatePicker1->date(), QDate(9999, 12, 31));
    EXPECT_EQ(main->current_day->GetAttr("DATE"), "12/31/9999");
}

TEST_F(MainWindow, CaptionsThatAreNotValidUtf8PassThroughUnlessEdited) {
    const std::string odd = "caf\xe9 \xff\xfe";
    ShowDay(QDate(2026, 5, 12), {odd, "plain"});
    TNoxPigger* day = main->current_day;
    Tick(1, true);
    main->store_day_list();
    EXPECT_EQ(day->Child(0)->GetAttr("CAPTION"), odd);
    main->LV1->item(0)->setText(QStringLiteral("café"));
    main->store_day_list();
    EXPECT_EQ(day->Child(0)->GetAttr("CAPTION"), "caf\xc3\xa9");
}

TEST_F(MainWindow, ChangeImageWritesThePickedIndexAndKeepsItWhenCancelled) {
    ShowDay(QDate(2026, 5, 13), {"pic"});
    TNoxPigger* item = main->current_day->Child(0);
    item->SetAttr("INDEX", "bad");
    main->fill_day_list();
    Select(0);
    {
        ModalAnswer answer([](QWidget* d) { click_button(d, QStringLiteral("Cancel")); });
        main->N_Change_imageClick();
    }
    EXPECT_EQ(item->GetAttr("INDEX"), "0");
    {
        ModalAnswer answer([](QWidget* d) {
            auto* list = d->findChild<QListWidget*>(QStringLiteral("LV1"));
            ASSERT_NE(list, nullptr);
            list->setCurrentRow(7);
            click_button(d, QStringLiteral("OK"));
        });
        main->N_Change_imageClick();
    }
    EXPECT_EQ(item->GetAttr("INDEX"), "7");
    EXPECT_EQ(item_rows::picture(main->LV1->item(0)), 7);
}

} // namespace

namespace {

TEST_F(MainWindow, StandByKeepsTheWindowReachableWithOrWithoutATray) {
    main->show();
    ASSERT_TRUE(main->isVisible());
    main->SB_stand_by->click();
    if (main->HasTray())
        EXPECT_TRUE(main->isHidden());
    else
        EXPECT_TRUE(main->isMinimized()) << "without a tray the window is minimized, never lost";
    main->ShowFromTray();
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(main->isMinimized());
}

TEST_F(MainWindow, TheTrayMenuShowsOnlyAHiddenWindowAndItsExitClosesAsTheWindowDoes) {
    const QList<QAction*> entries = main->PM1->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0], main->N_show);
    EXPECT_EQ(main->N_show->text(), QStringLiteral("Show"));
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(entries[2], main->N_exit);
    EXPECT_EQ(main->N_exit->text(), QStringLiteral("&Exit"));

    main->show();
    emit main->PM1->aboutToShow();
    EXPECT_FALSE(main->N_show->isEnabled());
    main->hide();
    emit main->PM1->aboutToShow();
    EXPECT_TRUE(main->N_show->isEnabled());
    main->N_show->trigger();
    EXPECT_TRUE(main->isVisible());

    ShowDay(QDate(2026, 5, 14), {"saved at exit"});
    main->N_exit->trigger();
    EXPECT_TRUE(main->IsClosed());
    EXPECT_NE(ReadBytes(DataFile()).find("saved at exit"), std::string::npos);
}

} // namespace
