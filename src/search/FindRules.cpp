#include "search/FindRules.h"

#include "todo/rules/DayKeys.h"
#include "todo/rules/TextCodec.h"
#include "todo/rules/TodoRules.h"

#include <algorithm>

namespace find_rules {

namespace {
const std::string kDescriptionTag = todo::kDescriptionTag;

bool blank_or_control(QChar c) {
    return c.isSpace() || c.category() == QChar::Other_Control;
}

bool is_ascii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char ascii_upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

ContextNeedle context_needle(const QString& typed, const QLocale& locale) {
    ContextNeedle needle;
    needle.locale = locale;
    needle.upper = locale.toUpper(typed);
    const std::string bytes = from_qstring(needle.upper);
    needle.asciiNeedle = is_ascii(bytes);
    if (needle.asciiNeedle) needle.asciiUpper = bytes;
    needle.plainAsciiCase = locale.toUpper(QStringLiteral("abcdefghijklmnopqrstuvwxyz")) ==
                            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return needle;
}

bool upper_contains(std::string_view bytes, const ContextNeedle& needle) {
    // Most texts are plain ASCII, and a locale that upper-cases them as ASCII does gives the same answer
    // without decoding: an ASCII text upper-cased stays ASCII, so a needle beyond ASCII is never in it.
    if (needle.plainAsciiCase && is_ascii(bytes)) {
        if (!needle.asciiNeedle) return false;
        const std::string& n = needle.asciiUpper;
        return std::search(bytes.begin(), bytes.end(), n.begin(), n.end(),
                           [](char text, char upper) { return ascii_upper(text) == upper; }) != bytes.end();
    }
    return needle.locale.toUpper(to_qstring(std::string(bytes))).contains(needle.upper);
}

bool context_matches(const TNoxPigger& item, const ContextNeedle& needle, bool inText, bool inDescription) {
    if (inText && upper_contains(attr_value(item, todo::kCaptionAttr), needle)) return true;
    if (!inDescription) return false;
    const TNoxPigger* description = item.FindChild(kDescriptionTag);
    return description && upper_contains(description->Text, needle);
}

bool context_can_start(const QString& typed, bool inText, bool inDescription) {
    if (!inText && !inDescription) return false;
    return std::any_of(typed.begin(), typed.end(), [](QChar c) { return !blank_or_control(c); });
}

bool day_within(const std::string& dayKey, const DateLimits& limits) {
    if (!limits.lower && !limits.upper) return true;
    const std::optional<QDate> date = parse_day_key(dayKey);
    if (!date) return true;
    if (limits.lower && *date < *limits.lower) return false;
    if (limits.upper && *date > *limits.upper) return false;
    return true;
}

bool is_uncompleted(const TNoxPigger& item) {
    return !todo::is_done_in_reports(item);
}

const TMarkupString& attr_value(const TNoxPigger& element, const char* upperName) {
    static const TMarkupString none;
    for (const auto& [name, value] : element.Attributes())
        if (name == upperName) return value;
    return none;
}

} // namespace find_rules
