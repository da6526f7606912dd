// Days that hold items stand in bold on every month calendar; the document is walked once per change.
#include "ProgramFixture.h"
#include "todo/ItemDaysMarker.h"
#include "todo/TD_add_TV_show.h"
#include "todo/TD_select_date_move.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QTextCharFormat>

TEST(ItemDaysMarker, DaysHoldingItemsAreBoldAndTheDocumentIsWalkedOncePerChange) {
    TestProgram program(ProgramWindows::SelectDateMove | ProgramWindows::AddTvShow);
    for (QCalendarWidget* c :
         {program.reg().selectDateMove->Calendar1, program.reg().addTvShow->DTP_date->calendarWidget()})
        EXPECT_NE(c->findChild<ItemDaysMarker*>(), nullptr);
    TNoxPigger& root = program.reg().list.Doc();
    emit program.reg().list.AboutToReplace();
    root.SetText(
        "<TODO_DATA><DAY_DATA DATE=\"6/1/2026\"><TASK/></DAY_DATA><DAY_DATA DATE=\"6/2/2026\"/>"
        "<DAY_DATA DATE=\"6/3/2026\"><NOTE/></DAY_DATA><DAY_DATA DATE=\"6/4/2026\"/>"
        "<DAY_DATA DATE=\"6/4/2026\"><TASK/></DAY_DATA><DAY_DATA DATE=\"7/1/2026\"><TASK/></DAY_DATA>"
        "<DAY_DATA DATE=\"N/A\"><TASK/></DAY_DATA></TODO_DATA>");
    program.reg().list.NoteChange();
    QCalendarWidget calendar;
    ItemDaysMarker* marker = ItemDaysMarker::Attach(program.reg().list, &calendar);
    calendar.setCurrentPage(2026, 6);
    // Visited only, something else than items, and the second of two days of one key (the first is
    // shown): not bold. The next month's first day on this page is.
    for (const auto& [date, bold] : {std::pair{QDate(2026, 6, 1), true},
                                     {QDate(2026, 6, 2), false},
                                     {QDate(2026, 6, 3), false},
                                     {QDate(2026, 6, 4), false},
                                     {QDate(2026, 6, 5), false},
                                     {QDate(2026, 7, 1), true}})
        EXPECT_EQ(calendar.dateTextFormat(date).fontWeight() == QFont::Bold, bold) << date.day();
    for (int month = 1; month <= 12; ++month)
        calendar.setCurrentPage(2025, month);
    EXPECT_EQ(marker->Passes(), 1);

    root.Child(1)->AddChild("TASK");
    program.reg().list.NoteChange();
    calendar.setCurrentPage(2026, 6);
    calendar.setCurrentPage(2026, 7);
    EXPECT_EQ(marker->Passes(), 2);
    EXPECT_TRUE(marker->HoldsItems(QDate(2026, 6, 2)));
}
