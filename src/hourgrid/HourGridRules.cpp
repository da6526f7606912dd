#include "hourgrid/HourGridRules.h"

#include "todo/rules/TodoRules.h"

#include <algorithm>

namespace hourgrid {

namespace {

// "08 : 30", or in the 12-hour view "08 : 30 AM"; midnight is 12 AM and noon 12 PM.
QString clock_text(int hour, int minute, bool amPm) {
    if (!amPm) return QString::asprintf("%02d : %02d", hour, minute);
    hour %= 24;
    const int shown = hour % 12 == 0 ? 12 : hour % 12;
    return QString::asprintf("%02d : %02d %s", shown, minute, hour < 12 ? "AM" : "PM");
}

} // namespace

std::vector<SlotTime> grid_slots(const GridSettings& grid) {
    std::vector<SlotTime> times;
    // Anything but 30 or 15 is an hour, as the settings read it; a slot never spans less than a minute.
    const int step = grid.resolution == 30 || grid.resolution == 15 ? grid.resolution : 60;
    for (int hour = std::max(grid.firstHour, 0); hour <= std::min(grid.lastHour, 23); ++hour)
        for (int minute = 0; minute < 60; minute += step)
            times.push_back({hour, minute});
    return times;
}

Placement place(const std::vector<SlotTime>& times, const ItemTime& time) {
    const auto earlier = [](const SlotTime& slot, const ItemTime& t) {
        return slot.hour < t.hour || (slot.hour == t.hour && slot.minute < t.minute);
    };
    const auto at = std::lower_bound(times.begin(), times.end(), time, earlier);
    const auto index = static_cast<std::size_t>(at - times.begin());
    if (at != times.end() && at->hour == time.hour) return {index, false};
    // Past the last slot of its hour (10:45 when the hour has 10:00 and 10:30): the slot it falls in.
    if (index > 0 && times[index - 1].hour == time.hour) return {index - 1, false};
    return {index, true};
}

std::string time_text(const SlotTime& slot) {
    return todo::two_digits(slot.hour) + " : " + todo::two_digits(slot.minute);
}

QString slot_label(const SlotTime& slot, const GridSettings& grid) {
    if (slot.hour < grid.firstHour)
        return QStringLiteral("before ") + clock_text(grid.firstHour, 0, grid.amPm);
    if (slot.hour > grid.lastHour)
        return QStringLiteral("after ") + clock_text(grid.lastHour + 1, 0, grid.amPm);
    return clock_text(slot.hour, slot.minute, grid.amPm);
}

std::optional<std::size_t> slot_at(const std::vector<SlotTime>& times, int resolution, const QTime& time) {
    for (std::size_t i = 0; i < times.size(); ++i) {
        const SlotTime& s = times[i];
        if (s.hour == time.hour() && s.minute <= time.minute() && time.minute() < s.minute + resolution)
            return i;
    }
    return std::nullopt;
}

} // namespace hourgrid
