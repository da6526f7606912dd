#include "cli/ListedItems.h"

#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"

#include <cctype>

namespace tool {

namespace {

bool digits(const std::string& text, size_t from, size_t count) {
    for (size_t i = from; i < from + count; ++i)
        if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

int number(const std::string& text, size_t from, size_t count) {
    int value = 0;
    for (size_t i = from; i < from + count; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

} // namespace

std::string ListedItem::Key() const {
    return day ? day->GetAttr(todo::kDateAttr) : std::string();
}

QString reading_key_format(const TNoxPigger& root) {
    const QString recorded = QString::fromStdString(root.GetAttr(todo::kDateFormatAttr));
    // A recorded format no key could be in is no guide: the locale's is the better guess.
    if (!recorded.isEmpty() && render_day_key(QDate(2000, 1, 1), recorded)) return recorded;
    return day_key_format();
}

std::vector<ListedItem> listed_items(const TNoxPigger& root) {
    const QString format = reading_key_format(root);
    std::vector<ListedItem> items;
    for (const TNoxPigger* day = root.FindChild(todo::kDayTag); day; day = root.FindNextSibling(day)) {
        ListedItem listed;
        listed.day = day;
        const std::string key = day->GetAttr(todo::kDateAttr);
        if (SameTextAscii(key, kDateIndependentKey)) {
            listed.kind = ListedItem::Day::Independent;
        } else if (const std::optional<QDate> date = parse_day_key(key, format)) {
            listed.kind = ListedItem::Day::Dated;
            listed.date = *date;
        }
        for (const TNoxPigger* item : day->Children()) {
            if (item->TagName() != todo::kItemTag) continue;
            listed.item = item;
            items.push_back(listed);
        }
    }
    return items;
}

std::optional<ItemTime> item_time(const TNoxPigger& item) {
    if (!todo::is_timed(item)) return std::nullopt;
    const std::optional<int> hour = todo::parse_int(item.GetAttr(todo::kHourAttr));
    const std::optional<int> minute = todo::parse_int(item.GetAttr(todo::kMinuteAttr));
    if (!hour || !minute || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59) return std::nullopt;
    return ItemTime{*hour, *minute};
}

bool is_done(const TNoxPigger& item) {
    return todo::is_done_in_day_list(item);
}

std::optional<QDate> parse_iso_date(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !digits(text, 0, 4) || !digits(text, 5, 2) ||
        !digits(text, 8, 2))
        return std::nullopt;
    const QDate date(number(text, 0, 4), number(text, 5, 2), number(text, 8, 2));
    if (!date.isValid()) return std::nullopt;
    return date;
}

std::string iso_date(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd")).toStdString();
}

std::optional<ItemTime> parse_time(const std::string& text, bool* outOfRange) {
    if (outOfRange) *outOfRange = false;
    const size_t colon = text.find(':');
    if (colon != 1 && colon != 2) return std::nullopt;
    if (text.size() != colon + 3 || !digits(text, 0, colon) || !digits(text, colon + 1, 2))
        return std::nullopt;
    const ItemTime time{number(text, 0, colon), number(text, colon + 1, 2)};
    if (time.hour > 23 || time.minute > 59) {
        if (outOfRange) *outOfRange = true;
        return std::nullopt;
    }
    return time;
}

std::string time_text(const ItemTime& time) {
    return todo::two_digits(time.hour) + ":" + todo::two_digits(time.minute);
}

} // namespace tool
