// Day keys: a calendar day's date in the user's short date format, or "N/A" for the date-independent
// list. Nothing else formats or parses a date for a key.
#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <string>

inline const std::string kDateIndependentKey = "N/A";

// The key format for the default locale: numeric fields in the locale's order, its separator and
// leading-zero choice, a four-digit year; "yyyy-MM-dd" when the locale's short format is not of that shape.
QString day_key_format();

std::string render_day_key(const QDate& date);
// The date a key names, or nothing when it names no calendar day under the current format.
std::optional<QDate> parse_day_key(const std::string& key);
