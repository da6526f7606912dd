#include "todo/rules/ReminderSchedule.h"

#include "todo/rules/DayKeys.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoList.h"
#include "todo/rules/TodoRules.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Calls f(item, position, time) for every timed item of the date's day that is not done, in document
// order. The day is only looked up: looking must not create it.
template <class F> void for_each_timed(const TNoxPigger& root, const QDate& date, F f) {
    const TNoxPigger* day = root.FindChildByAttr(todo::kDateAttr, render_day_key(date));
    if (!day) return;
    int position = 0;
    for (TNoxPigger* child : day->Children()) {
        if (child->TagName() == todo::kItemTag && !todo::is_done_in_day_list(*child))
            if (const auto time = todo::read_item_time(*child)) {
                const QDateTime at(date, QTime(time->hour, time->minute));
                if (at.isValid()) f(*child, position, at);
            }
        ++position;
    }
}

std::string first_line(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

} // namespace

ReminderSchedule::ReminderSchedule(TodoList& list, Settings& settings, ReminderNotifier& notifier,
                                   Clock clock, QObject* parent)
    : QObject(parent), list_(list), settings_(settings), notifier_(notifier),
      clock_(clock ? std::move(clock) : Clock(&QDateTime::currentDateTime)) {
    timer_.setSingleShot(true);
    // Waiting for a minute hours ahead: a coarse timer could be off by far more than that minute.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ReminderSchedule::Check);
    connect(&list_, &TodoList::Changed, this, &ReminderSchedule::Reschedule);
    connect(&settings_, &Settings::RemindChanged, this, &ReminderSchedule::Reschedule);
    Arm(clock_());
}

void ReminderSchedule::Reschedule() {
    if (checking_) return;
    const QDateTime now = clock_();
    // The moment has come but its event is still queued (or the computer slept through it): the timer
    // announces it, so a change made meanwhile does not skip it.
    if (nextDue_ && *nextDue_ <= now && settings_.Remind()) {
        timer_.start(0);
        return;
    }
    Arm(now);
}

void ReminderSchedule::Check() {
    const QDateTime now = clock_();
    if (!nextDue_ || *nextDue_ > now) { // woken early: wait on
        Arm(now);
        return;
    }
    const QDateTime from = *nextDue_;
    checking_ = true;
    if (settings_.Remind()) {
        // A tick or a text still in the windows counts: they write it into the document first.
        emit list_.WriteBack(true);
        std::vector<std::pair<QDateTime, Reminder>> due;
        for_each_timed(
            list_.Doc(), now.date(), [&](const TNoxPigger& item, int position, const QDateTime& at) {
                if (at < from || at > now) return;
                const TNoxPigger* description = item.FindChild(todo::kDescriptionTag);
                due.push_back(
                    {at, Reminder{now.date(), render_day_key(now.date()), position, todo::item_text(item),
                                  description ? first_line(description->Text) : std::string(),
                                  todo::picture_index(item), at.time().hour(), at.time().minute()}});
            });
        std::stable_sort(due.begin(), due.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [at, reminder] : due)
            notifier_.Announce(reminder);
    }
    checking_ = false;
    Arm(now);
}

std::optional<QDateTime> ReminderSchedule::NextAfter(const QDateTime& now) const {
    // At midnight the new day's items take over.
    QDateTime next(now.date().addDays(1), QTime(0, 0));
    for_each_timed(list_.Doc(), now.date(), [&](const TNoxPigger&, int, const QDateTime& at) {
        if (at > now && at < next) next = at;
    });
    return next;
}

void ReminderSchedule::Arm(const QDateTime& now) {
    nextDue_ = settings_.Remind() ? NextAfter(now) : std::nullopt;
    if (!nextDue_) {
        timer_.stop();
        return;
    }
    timer_.start(static_cast<int>(std::clamp<qint64>(now.msecsTo(*nextDue_), 0, INT_MAX)));
}

TNoxPigger* find_reminded_item(const TNoxPigger& root, const Reminder& reminder) {
    const TNoxPigger* day = root.FindChildByAttr(todo::kDateAttr, reminder.dayKey);
    if (!day) return nullptr;
    const auto same = [&](const TNoxPigger* child) {
        return child->TagName() == todo::kItemTag && todo::item_text(*child) == reminder.text;
    };
    if (reminder.position >= 0 && reminder.position < day->ChildCount() &&
        same(day->Child(reminder.position)))
        return day->Child(reminder.position);
    for (TNoxPigger* child : day->Children())
        if (same(child)) return child;
    return nullptr;
}
