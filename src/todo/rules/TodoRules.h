// Rules of the to-do document: the shape of days and items and how every reader and writer treats them.
#pragma once

#include "markup/NoxPigger.h"

#include <optional>
#include <string>

namespace todo {

inline constexpr const char* kRootTag = "TODO_DATA";
inline constexpr const char* kDayTag = "DAY_DATA";
inline constexpr const char* kItemTag = "TASK";
inline constexpr const char* kDateAttr = "DATE";
// On the root: the key format the days were written in.
inline constexpr const char* kDateFormatAttr = "DATE_FORMAT";
inline constexpr const char* kCaptionAttr = "CAPTION";
inline constexpr const char* kDoneAttr = "D";
inline constexpr const char* kIndexAttr = "INDEX";
inline constexpr const char* kHourAttr = "HOUR";
inline constexpr const char* kMinuteAttr = "MINUTE";
inline constexpr const char* kDescriptionTag = "DSC";
inline constexpr const char* kRemarksTag = "REM";
inline constexpr const char* kFileTag = "FILE";
inline constexpr const char* kFileNameAttr = "FILE_NAME";
inline constexpr int kPictureCount = 36;
inline constexpr int kNewItemPicture = 0;
inline constexpr int kTvShowPicture = 35;

// The parent's first child with the tag, or a new last child with it; none for no parent.
TNoxPigger* find_or_add_child(TNoxPigger* parent, const std::string& tag);
// The day element of a key (compared case-insensitively, first match), appended when missing.
TNoxPigger* find_or_create_day(TNoxPigger& root, const std::string& key);
// Deletes every DAY_DATA child of the root that has no children at all; true when there was one.
bool remove_empty_days(TNoxPigger& root);
TNoxPigger* description_of(TNoxPigger& item);
TNoxPigger* remarks_of(TNoxPigger& item);

std::string item_text(const TNoxPigger& item);
// Done as the day list sees it: D is exactly "Y".
bool is_done_in_day_list(const TNoxPigger& item);
// Done as search and printing see it: any non-empty D.
bool is_done_in_reports(const TNoxPigger& item);
// INDEX as a signed decimal integer, or nothing when absent or not a number. Any integer is kept as
// stored, also one naming no picture: picture_index passes it on, and whoever draws it falls back.
std::optional<int> parsed_picture_index(const TNoxPigger& item);
// The day list's picture: INDEX, or 0 when it gives none.
int picture_index(const TNoxPigger& item);
// The three attributes stored from a list row, in the order the rows write them. True when that changed
// the item.
bool store_item(TNoxPigger& item, const std::string& text, bool done, int pictureIndex);

bool is_timed(const TNoxPigger& item);
// An item's time of day as every reader takes it.
struct ItemTime {
    int hour = 0;
    int minute = 0;
};
// The item's time, or none when it has no HOUR. An hour or minute of one or two digits, blanks around
// allowed, counts as its number; any other text, or a number that is no hour of the day or minute of an
// hour, counts as 0, and so does a missing minute. So every timed item has a real time of day, the one
// the hour grid shows it at.
std::optional<ItemTime> read_item_time(const TNoxPigger& item);
// HOUR and MINUTE set together as two-digit texts.
void set_item_time(TNoxPigger& item, int hour, int minute);
void clear_item_time(TNoxPigger& item);
std::string two_digits(int value);

// Bytes of a file that hold no list and nothing worth keeping: none, or white space alone.
bool is_blank(const std::string& bytes);

// Signed decimal integer with nothing else around it; nothing when it does not parse or overflows.
std::optional<int> parse_int(const std::string& text);

} // namespace todo
