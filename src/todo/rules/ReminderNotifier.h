// What announces a reminder on the desktop, and what it is told about the item. The schedule decides
// when; a notifier decides how.
#pragma once

#include <QDate>
#include <string>

// One item whose time has come, as it stood then. It holds no pointer into the document: a click on
// the announcement may come long after the item was moved, changed or deleted, so the item is found
// again by its day, position and text.
struct Reminder {
    QDate day;
    std::string dayKey;
    int position = 0; // among the day's children
    std::string text; // the item's text, as stored
    std::string note; // the first line of its description
    int picture = 0;
    int hour = 0;
    int minute = 0;
};

class ReminderNotifier {
public:
    virtual ~ReminderNotifier() = default;
    virtual void Announce(const Reminder& reminder) = 0;

protected:
    ReminderNotifier() = default;
    ReminderNotifier(const ReminderNotifier&) = default;
    ReminderNotifier& operator=(const ReminderNotifier&) = default;
};
