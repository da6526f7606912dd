// Day keys: a calendar day's date in the user's short date format, or "N/A" for the date-independent
// list. Nothing else formats or parses a date for a key.
#pragma once

#include "markup/NoxPigger.h"

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

// The same under a key format recorded elsewhere (a file's); nothing when that format is not one a key
// format can be.
std::optional<std::string> render_day_key(const QDate& date, const QString& format);
std::optional<QDate> parse_day_key(const std::string& key, const QString& format);

// A list written under one key format and opened under another: every day whose key parses under `from`
// gets the same date's key under `to`. Days that then share a key with a day re-keyed are merged into the
// first of them, items in document order. Returns how many days changed their key.
int rekey_days(TNoxPigger& root, const QString& from, const QString& to);

// A list as it is read: days written under the key format the root records (DATE_FORMAT) are re-keyed to
// the current one. A list that records none is read as written. Returns how many days changed key.
int adopt_key_format(TNoxPigger& root);
// A list as it is written: the root records the current key format.
void record_key_format(TNoxPigger& root);
