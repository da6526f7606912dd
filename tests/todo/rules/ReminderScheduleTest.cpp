// Which timed items of today announce themselves when: the clock is the test's, the notifier records.
#include "todo/rules/ReminderSchedule.h"
#include "TestFolder.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/ItemTransfer.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoList.h"
#include "todo/rules/TodoRules.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace {

const QDate kToday(2026, 3, 10);
const QDate kTomorrow = kToday.addDays(1);

std::string Day(const QDate& date, const std::string& items) {
    return "<DAY_DATA DATE=\"" + render_day_key(date) + "\">" + items + "</DAY_DATA>";
}
std::string Item(const std::string& text, const char* hour, const char* minute, const char* more = "") {
    return "<TASK CAPTION=\"" + text + "\" HOUR=\"" + hour + "\" MINUTE=\"" + minute + "\"" + more + "/>";
}

class Reminders : public ::testing::Test, public ReminderNotifier {
public:
    void Announce(const Reminder& r) override {
        got.push_back(r);
        timeline += (timeline.empty() ? "" : ", ") + now.toString("HH:mm").toStdString() + " " + r.text;
    }
    // The program starts at the time with the list holding the days.
    void Start(const std::string& days, QTime at) {
        list.Doc().SetText("<TODO_DATA>" + days + "</TODO_DATA>");
        now = QDateTime(kToday, at);
        schedule = std::make_unique<ReminderSchedule>(list, settings, *this, [this] { return now; });
    }
    // The clock runs on to the end; the timer fires at each moment it was armed for, as it would.
    std::string RunTo(const QDateTime& end) {
        timeline.clear();
        for (int guard = 0; guard < 100; ++guard) {
            if (!schedule->Timer().isActive() || *schedule->NextDue() > end) break;
            now = std::max(now, *schedule->NextDue());
            schedule->Check();
            if (schedule->Timer().isActive()) {
                EXPECT_EQ(schedule->Timer().interval(), now.msecsTo(*schedule->NextDue()));
            }
        }
        now = std::max(now, end);
        return timeline;
    }
    std::string RunTo(QTime end) { return RunTo(QDateTime(kToday, end)); }
    TNoxPigger& Today() { return *list.Doc().FindChildByAttr("DATE", render_day_key(kToday)); }
    TNoxPigger& At(int position) { return *Today().Child(position); }

    TestFolder folder;
    Settings settings{folder.Path("q.set")};
    TodoList list{settings, folder.Path("q.dat")};
    std::unique_ptr<ReminderSchedule> schedule;
    QDateTime now;
    std::vector<Reminder> got;
    std::string timeline;
};

TEST_F(Reminders, TimedItemsOfTodayNotDoneAnnounceThemselvesOnceAtTheirTimeFromTheStartOn) {
    Start(Day(kToday, Item("Early", "07", "30") + Item("Tea", "09", "00", " INDEX=\"35\"") +
                          Item("Done", "09", "00", " D=\"Y\"") + "<TASK CAPTION=\"Plain\"/>" +
                          "<OTHER HOUR=\"09\" MINUTE=\"00\"/>" + Item("Call", " 9", "0") +
                          Item("Late", "10", "5", " D=\"N\"") + Item("Now", "08", "00")) +
              Day(kTomorrow, Item("Tomorrow", "09", "00")) + "<DAY_DATA DATE=\"N/A\">" +
              Item("Any day", "09", "00") + "</DAY_DATA>",
          QTime(8, 0));
    todo::description_of(*Today().Children()[1])->Text = "Channel 4\r\nSecond line";
    EXPECT_EQ(schedule->NextDue(), QDateTime(kToday, QTime(9, 0)));
    EXPECT_EQ(schedule->Timer().interval(), 3600 * 1000);
    now = QDateTime(kToday, QTime(8, 59, 59, 900));
    schedule->Check();
    EXPECT_TRUE(got.empty()) << "a timer that fires early waits on";

    EXPECT_EQ(RunTo(QTime(23, 0)), "09:00 Tea, 09:00 Call, 10:05 Late");
    const Reminder& r = got.front();
    EXPECT_EQ((std::tuple{r.day, r.dayKey, r.note, r.position, r.picture, r.hour, r.minute}),
              (std::tuple{kToday, render_day_key(kToday), std::string("Channel 4"), 1, 35, 9, 0}));
    EXPECT_EQ(schedule->NextDue(), QDateTime(kTomorrow, QTime(0, 0))) << "midnight";
    EXPECT_EQ(RunTo(QDateTime(kTomorrow, QTime(10, 0))), "09:00 Tomorrow") << "the new day's items";
}

// Each edit is made at 08:30; the timeline is what comes of it until the evening.
TEST_F(Reminders, AChangeBeforeTheTimeIsFollowedAsIsTheSetting) {
    using Edit = std::function<void(Reminders&)>;
    const std::pair<Edit, const char*> cases[] = {
        {[](Reminders&) {}, "09:00 Show, 11:00 Other"},
        {[](Reminders& t) { t.At(0).SetAttr("D", "Y"); }, "11:00 Other"},
        {[](Reminders& t) { // ticked in the day list, not yet stored
             QObject::connect(&t.list, &TodoList::WriteBack, [&t] { t.At(0).SetAttr("D", "Y"); });
         },
         "11:00 Other"},
        {[](Reminders& t) { todo::move_item(t.list.Doc(), t.At(0), render_day_key(kTomorrow)); },
         "11:00 Other"},
        {[](Reminders& t) { delete &t.At(0); }, "11:00 Other"},
        {[](Reminders& t) { todo::set_item_time(t.At(0), 9, 45); }, "09:45 Show, 11:00 Other"},
        {[](Reminders& t) { todo::set_item_time(t.At(0), 8, 15); }, "11:00 Other"},
        {[](Reminders& t) { todo::clear_item_time(t.At(1)); }, "09:00 Show"},
        {[](Reminders& t) {
             todo::set_item_time(*todo::copy_item(t.list.Doc(), t.At(0), render_day_key(kToday)), 10, 0);
         },
         "09:00 Show, 10:00 Show, 11:00 Other"},
        {[](Reminders& t) { // what passed while turned off stays unannounced
             t.settings.SetRemind(false);
             t.now = QDateTime(kToday, QTime(9, 30));
             t.settings.SetRemind(true);
         },
         "11:00 Other"},
        {[](Reminders& t) { t.now = QDateTime(kToday, QTime(9, 0, 30)); }, // the timer's event still queued
         "09:00 Show, 11:00 Other"},
        {[](Reminders& t) { t.settings.SetRemind(false); }, ""},
    };
    for (const auto& [edit, timeline] : cases) {
        settings.SetRemind(true);
        Start(Day(kToday, Item("Show", "09", "00") + Item("Other", "11", "00")), QTime(8, 0));
        now = QDateTime(kToday, QTime(8, 30));
        edit(*this);
        list.NoteChange();
        EXPECT_EQ(RunTo(QTime(23, 0)), timeline);
        QObject::disconnect(&list, &TodoList::WriteBack, nullptr, nullptr);
    }
    EXPECT_FALSE(schedule->Timer().isActive()) << "nothing waits while turned off";
}

TEST_F(Reminders, TheRemindedItemIsFoundAgainByItsPositionAndTextWhileItsDayHoldsIt) {
    Start(Day(kToday, Item("A", "09", "00") + Item("B", "09", "00")), QTime(8, 0));
    RunTo(QTime(10, 0));
    Today().MoveChild(1, 0);
    EXPECT_EQ(find_reminded_item(list.Doc(), got.at(1)), &At(0)) << "moved: the first with its text";
    At(0).SetAttr("CAPTION", "Renamed");
    EXPECT_EQ(find_reminded_item(list.Doc(), got.at(1)), nullptr);
}

} // namespace
