// The tests the two search windows apply to every item.
#pragma once

#include "markup/NoxPigger.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace find_rules {

// The text to look for: as typed (blanks count), in upper case by the locale's rules. Prepared once per
// search, with what lets a text of plain ASCII be compared without decoding it.
struct ContextNeedle {
    QLocale locale;
    QString upper;
    std::string asciiUpper; // the needle's bytes when it is plain ASCII
    bool asciiNeedle = false;
    bool plainAsciiCase = false; // the locale upper-cases a to z as A to Z, like ASCII does
};
ContextNeedle context_needle(const QString& typed, const QLocale& locale);
// Whether a text of the document, decoded as everywhere else and in upper case by the locale's rules,
// contains the needle.
bool upper_contains(std::string_view bytes, const ContextNeedle& needle);
// The context test: the item's text when asked for, else its description when asked for and present.
bool context_matches(const TNoxPigger& item, const ContextNeedle& needle, bool inText, bool inDescription);
// A search for context needs more than blanks and control characters, and somewhere to look.
bool context_can_start(const QString& typed, bool inText, bool inDescription);

struct DateLimits {
    std::optional<QDate> lower; // included
    std::optional<QDate> upper; // included
};
// Whether a day lies within the limits; a key that names no calendar day always does.
bool day_within(const std::string& dayKey, const DateLimits& limits);
// Not done as search sees it: no D, or an empty one.
bool is_uncompleted(const TNoxPigger& item);
// An attribute's value without a copy; empty when absent.
const TMarkupString& attr_value(const TNoxPigger& element, const char* upperName);

} // namespace find_rules
