// When the timed items of today announce themselves: every item of today's day that has a time and is
// not done, once, at that time, while reminders are on. One timer waits for the next such moment, or for
// midnight, when the new day's items take over; every change of the document or of the setting reads
// again what comes next. An item whose time has passed when the program starts, or when reminders are
// turned on, is not announced.
#pragma once

#include "markup/NoxPigger.h"
#include "todo/rules/ReminderNotifier.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class Settings;
class TodoList;

class ReminderSchedule final : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;
    // The clock is the local wall clock unless one is given (tests bring their own).
    ReminderSchedule(TodoList& list, Settings& settings, ReminderNotifier& notifier, Clock clock = {},
                     QObject* parent = nullptr);

    // Reads from the document what comes next and arms the timer for it. A moment that has already come
    // is left to the timer, which then fires at once.
    void Reschedule();
    // The timer's event: announces every item due since the moment it waited for, then arms for the next.
    void Check();

    // The moment the timer waits for: the next item's time or midnight; none while reminders are off.
    std::optional<QDateTime> NextDue() const { return nextDue_; }
    const QTimer& Timer() const { return timer_; }

private:
    std::optional<QDateTime> NextAfter(const QDateTime& now) const;
    void Arm(const QDateTime& now);

    TodoList& list_;
    Settings& settings_;
    ReminderNotifier& notifier_;
    Clock clock_;
    QTimer timer_;
    std::optional<QDateTime> nextDue_;
    bool checking_ = false;
};

// The item a reminder was given for, as the document holds it now: the item at its position if it still
// has its text, else the first item of its day with that text; none when its day no longer holds it.
TNoxPigger* find_reminded_item(const TNoxPigger& root, const Reminder& reminder);
