#include "todo/rules/TodoRules.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace todo {

namespace {

// One or two digits with blanks around, below the limit; nothing for any other text.
std::optional<int> small_number(const std::string& text, int limit) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const auto last = text.find_last_not_of(" \t");
    const std::string digits = text.substr(first, last - first + 1);
    if (digits.size() > 2 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int value = std::stoi(digits);
    if (value >= limit) return std::nullopt;
    return value;
}

} // namespace

TNoxPigger* find_or_create_day(TNoxPigger& root, const std::string& key) {
    if (TNoxPigger* day = root.FindChildByAttr(kDateAttr, key)) return day;
    TNoxPigger* day = root.AddChild(kDayTag);
    day->SetAttr(kDateAttr, key);
    return day;
}

bool remove_empty_days(TNoxPigger& root) {
    std::vector<TNoxPigger*> empty;
    for (TNoxPigger* day = root.FindChild(kDayTag); day; day = root.FindNextSibling(day))
        if (day->ChildCount() == 0) empty.push_back(day);
    for (TNoxPigger* day : empty)
        delete day;
    return !empty.empty();
}

TNoxPigger* find_or_add_child(TNoxPigger* parent, const std::string& tag) {
    if (!parent) return nullptr;
    if (TNoxPigger* c = parent->FindChild(tag)) return c;
    return parent->AddChild(tag);
}

TNoxPigger* description_of(TNoxPigger& item) {
    return find_or_add_child(&item, kDescriptionTag);
}
TNoxPigger* remarks_of(TNoxPigger& item) {
    return find_or_add_child(&item, kRemarksTag);
}

std::string item_text(const TNoxPigger& item) {
    return item.GetAttr(kCaptionAttr);
}

bool is_done_in_day_list(const TNoxPigger& item) {
    return item.GetAttr(kDoneAttr) == "Y";
}

bool is_done_in_reports(const TNoxPigger& item) {
    return !item.GetAttr(kDoneAttr).empty();
}

bool is_blank(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

std::optional<int> parse_int(const std::string& text) {
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+') {
        ++b;
        if (b != e && *b == '-') return std::nullopt;
    }
    int value = 0;
    auto [ptr, ec] = std::from_chars(b, e, value);
    if (ec != std::errc() || ptr != e || b == e) return std::nullopt;
    return value;
}

std::optional<int> parsed_picture_index(const TNoxPigger& item) {
    // Any integer counts, as stored; whoever draws the picture falls back for one outside the list.
    return parse_int(item.GetAttr(kIndexAttr));
}

int picture_index(const TNoxPigger& item) {
    return parsed_picture_index(item).value_or(kNewItemPicture);
}

bool store_item(TNoxPigger& item, const std::string& text, bool done, int pictureIndex) {
    const std::string doneValue = done ? "Y" : "";
    const std::string index = std::to_string(pictureIndex);
    const bool changed = item.GetAttr(kCaptionAttr) != text || item.GetAttr(kDoneAttr) != doneValue ||
                         item.GetAttr(kIndexAttr) != index;
    item.SetAttr(kCaptionAttr, text);
    item.SetAttr(kDoneAttr, doneValue);
    item.SetAttr(kIndexAttr, index);
    return changed;
}

bool is_timed(const TNoxPigger& item) {
    return !item.GetAttr(kHourAttr).empty();
}

std::optional<ItemTime> read_item_time(const TNoxPigger& item) {
    if (!is_timed(item)) return std::nullopt;
    return ItemTime{small_number(item.GetAttr(kHourAttr), 24).value_or(0),
                    small_number(item.GetAttr(kMinuteAttr), 60).value_or(0)};
}

std::string two_digits(int value) {
    std::string s = std::to_string(value);
    return s.size() < 2 ? "0" + s : s;
}

void set_item_time(TNoxPigger& item, int hour, int minute) {
    item.SetAttr(kHourAttr, two_digits(hour));
    item.SetAttr(kMinuteAttr, two_digits(minute));
}

void clear_item_time(TNoxPigger& item) {
    item.DeleteAttr(kHourAttr);
    item.DeleteAttr(kMinuteAttr);
}

} // namespace todo
