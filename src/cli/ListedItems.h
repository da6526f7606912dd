// The items of a to-do list as the tool lists and exports them: in document order, each with the day it
// stands under read as a date.
#pragma once

#include "markup/NoxPigger.h"

#include <QDate>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace tool {

struct ListedItem {
    enum class Day {
        Dated,
        // The date-independent list ("N/A", in any case, as the program finds it).
        Independent,
        // A key that names no date under the list's format (written by hand, say).
        Unknown,
    };
    const TNoxPigger* item = nullptr;
    const TNoxPigger* day = nullptr;
    Day kind = Day::Unknown;
    QDate date; // for Dated

    // The day's key as stored.
    std::string Key() const;
};

struct ItemTime {
    int hour = 0;
    int minute = 0;
};

// The key format the days of a list were written in: the one it records, else the current locale's.
QString reading_key_format(const TNoxPigger& root);
// Every TASK of every DAY_DATA of the root, in document order.
std::vector<ListedItem> listed_items(const TNoxPigger& root);

// The time of a timed item; nothing for an item off the hour grid, or with a time no clock shows.
std::optional<ItemTime> item_time(const TNoxPigger& item);
// Done as the day list shows it and writes it back: D is "Y".
bool is_done(const TNoxPigger& item);

// ISO 8601 calendar dates, "2026-06-12", and only those.
std::optional<QDate> parse_iso_date(const std::string& text);
std::string iso_date(const QDate& date);
// "09:30" and "9:30", hours 0-23 and minutes 0-59; nothing for any other text. outOfRange is set when
// the text has the form but not the range.
std::optional<ItemTime> parse_time(const std::string& text, bool* outOfRange = nullptr);
std::string time_text(const ItemTime& time);

} // namespace tool
