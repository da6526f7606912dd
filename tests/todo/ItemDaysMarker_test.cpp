// Days that hold items stand in bold on every month calendar; the document is walked once per change.
#include "ProgramFixture.h"
#include "todo/ItemDaysMarker.h"
#include "todo/TD_add_TV_show.h"
#include "todo/TD_select_date_move.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QTextCharFormat>

namespace {

class ItemDays : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Start();
        TNoxPigger& root = *main->TodoDoc();
        const auto day = [&](const char* key) {
            TNoxPigger* d = root.AddChild("DAY_DATA");
            d->SetAttr("DATE", key);
            return d;
        };
        day("6/1/2026")->AddChild("TASK");
        day("6/2/2026");                   // visited only
        day("6/3/2026")->AddChild("NOTE"); // holds something, but no item
        day("6/4/2026");                   // the first of two days of one key is the one shown
        day("6/4/2026")->AddChild("TASK");
        day("N/A")->AddChild("TASK");
        day("7/1/2026")->AddChild("TASK"); // on the next page, and on this one's last row
        reg().list.NoteChange();
    }
    static bool Bold(QCalendarWidget* calendar, const QDate& date) {
        return calendar->dateTextFormat(date).fontWeight() == QFont::Bold;
    }
};

TEST_F(ItemDays, DaysHoldingItemsAreBoldOnEveryCalendarOfTheProgram) {
    QCalendarWidget* calendars[] = {main->DatePicker1->calendarWidget(), reg().selectDateMove->Calendar1,
                                    reg().addTvShow->DTP_date->calendarWidget()};
    for (QCalendarWidget* calendar : calendars) {
        ASSERT_NE(calendar->findChild<ItemDaysMarker*>(), nullptr);
        calendar->setCurrentPage(2000, 1);
        calendar->setCurrentPage(2026, 6);
        for (const auto& [day, bold] : {std::pair{1, true}, {2, false}, {3, false}, {4, false}, {5, false}})
            EXPECT_EQ(Bold(calendar, QDate(2026, 6, day)), bold)
                << calendar->objectName().toStdString() << day;
        EXPECT_TRUE(Bold(calendar, QDate(2026, 7, 1)));
    }
}

TEST_F(ItemDays, TheDocumentIsWalkedOncePerChangeHoweverManyPagesAreTurned) {
    QCalendarWidget calendar;
    ItemDaysMarker* marker = ItemDaysMarker::Attach(reg().list, &calendar);
    calendar.setCurrentPage(2026, 6);
    for (int month = 1; month <= 12; ++month)
        calendar.setCurrentPage(2025, month);
    EXPECT_EQ(marker->Passes(), 1);

    // An item added to the visited day: bold from the next page on, after one more walk.
    todo::find_or_create_day(*main->TodoDoc(), "6/2/2026")->AddChild("TASK");
    reg().list.NoteChange();
    calendar.setCurrentPage(2026, 6);
    EXPECT_TRUE(Bold(&calendar, QDate(2026, 6, 2)));
    calendar.setCurrentPage(2026, 5);
    EXPECT_EQ(marker->Passes(), 2);
    EXPECT_FALSE(marker->HoldsItems(QDate(2026, 6, 3)));
}

} // namespace
