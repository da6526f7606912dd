// The hour grid's rules, apart from any widget: which times a grid has, how an item's stored time is read,
// which slot an item goes to, and how a slot is labelled.
#pragma once

#include "markup/NoxPigger.h"
#include "todo/rules/TodoRules.h"

#include <QString>
#include <QTime>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace hourgrid {

// The grid settings, read once per fill.
struct GridSettings {
    int firstHour = 7;
    int lastHour = 22;
    bool amPm = false;
    int resolution = 60; // minutes per slot: 60, 30 or 15
};

// A slot's time; every slot the grid makes lies within 00:00 and 23:59.
struct SlotTime {
    int hour = 0;
    int minute = 0;
    friend bool operator==(const SlotTime&, const SlotTime&) = default;
};

// An item's time as every reader takes it (the document rules read it).
using todo::ItemTime;
using todo::read_item_time;

// The times of the grid hours, top to bottom; none when the first hour lies after the last.
std::vector<SlotTime> grid_slots(const GridSettings& grid);

// Where an item goes among times sorted by time: the first slot of its hour that starts at or after its
// time, else the last slot of its hour, else a new slot (hour, 0) inserted at `index` in time order.
struct Placement {
    std::size_t index = 0;
    bool newSlot = false;
};
Placement place(const std::vector<SlotTime>& times, const ItemTime& time);

// "HH : MM", the slot's identity; hour text and minute text are its characters 1-2 and 6-7.
std::string time_text(const SlotTime& slot);

// What a slot row shows: "08 : 30", "01 : 30 PM", or "before 08 : 00" / "after 21 : 00" for times outside
// the grid hours.
QString slot_label(const SlotTime& slot, const GridSettings& grid);

// The slot whose span holds the time: M <= m < M + R within the hour, first match from the top.
std::optional<std::size_t> slot_at(const std::vector<SlotTime>& times, int resolution, const QTime& time);

} // namespace hourgrid
