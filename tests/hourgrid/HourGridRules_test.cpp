#include "hourgrid/HourGridRules.h"
#include "todo/rules/TodoRules.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace hourgrid;

namespace {
std::string text_of(const std::vector<SlotTime>& times) {
    std::string out;
    for (const SlotTime& t : times)
        out += (out.empty() ? "" : ",") + time_text(t);
    return out;
}
} // namespace

// Items are placed in document order; each row gives the slot every item lands in, then the slots added.
TEST(HourGridRules, ItemsGoToTheFirstSlotOfTheirHourAtOrAfterTheirTimeOrGetASlotOfTheirHour) {
    struct Case {
        GridSettings grid;
        std::vector<ItemTime> items;
        std::string landed, added;
    };
    for (const Case& c : std::vector<Case>{
             {{8, 20, false, 15},
              {{10, 0}, {10, 5}, {10, 20}, {10, 30}, {10, 50}},
              "10:00 10:15 10:30 10:30 10:45",
              ""},
             {{8, 20, false, 60}, {{10, 59}}, "10:00", ""},
             {{10, 10, false, 15}, {{10, 59}, {11, 0}}, "10:45 11:00", "11 : 00"},
             {{8, 20, false, 30}, {{10, 45}}, "10:30", ""},
             {{8, 20, false, 30}, {{6, 30}, {22, 15}, {6, 45}}, "06:00 22:00 06:00", "06 : 00,22 : 00"},
             {{8, 20, false, 30}, {{7, 0}, {6, 0}}, "07:00 06:00", "06 : 00,07 : 00"},
             {{8, 20, false, 30}, {{5, 0}, {7, 10}, {6, 0}}, "05:00 07:00 06:00", "05 : 00,06 : 00,07 : 00"},
             {{12, 5, false, 30}, {{10, 15}, {9, 0}, {10, 40}}, "10:00 09:00 10:00", "09 : 00,10 : 00"}}) {
        std::vector<SlotTime> times = grid_slots(c.grid);
        const std::vector<SlotTime> grid = times;
        std::string landed;
        for (const ItemTime& item : c.items) {
            const Placement at = place(times, item);
            if (at.newSlot)
                times.insert(times.begin() + static_cast<std::ptrdiff_t>(at.index), {item.hour, 0});
            landed += (landed.empty() ? "" : " ") + todo::two_digits(times[at.index].hour) + ":" +
                      todo::two_digits(times[at.index].minute);
        }
        std::erase_if(
            times, [&](const SlotTime& t) { return std::find(grid.begin(), grid.end(), t) != grid.end(); });
        EXPECT_EQ(landed, c.landed);
        EXPECT_EQ(text_of(times), c.added) << c.landed;
    }
}

TEST(HourGridRules, SlotLabelsFollowTheViewModeAndNameTheGridEdgesOutsideIt) {
    struct Case {
        GridSettings grid;
        SlotTime slot;
        const char* label;
    };
    for (const Case& c : std::vector<Case>{
             {{8, 20, true, 30}, {13, 30}, "01 : 30 PM"},
             {{0, 23, true, 60}, {0, 0}, "12 : 00 AM"},
             {{0, 23, true, 60}, {12, 0}, "12 : 00 PM"},
             {{0, 23, true, 30}, {11, 30}, "11 : 30 AM"},
             {{14, 20, true, 30}, {9, 0}, "before 02 : 00 PM"},
             {{14, 20, true, 30}, {23, 0}, "after 09 : 00 PM"},
             {{8, 11, true, 30}, {15, 0}, "after 12 : 00 PM"},
         })
        EXPECT_EQ(slot_label(c.slot, c.grid).toStdString(), c.label);
}
