// A list's items as iCalendar (RFC 5545: one VTODO each) and as CSV (RFC 4180: a header row, then one
// row each). Both are UTF-8: a byte of a text that is not part of valid UTF-8 becomes U+FFFD.
#pragma once

#include "cli/ListedItems.h"

#include <QDateTime>

#include <string>
#include <string_view>
#include <vector>

namespace tool {

// The bytes as they are where they are valid UTF-8; U+FFFD for every byte that is not.
std::string valid_utf8(std::string_view bytes);

// A TEXT value: valid UTF-8 with backslash, semicolon and comma escaped, every line break (CR LF, CR,
// LF) made "\n", and the control characters a TEXT value may not hold made U+FFFD.
std::string ics_text_value(std::string_view bytes);
// Appends one content line, folded so no line is longer than 75 octets (a fold never splits a UTF-8
// sequence), each ending in CR LF.
void append_ics_line(std::string& out, std::string_view line);

// The day an item stands under, as the UID and the CSV see it: the ISO date, "N/A", or the key as
// stored for a day that names no date.
std::string day_identity(const ListedItem& item);
// A UID that stays the same across exports while the item keeps its day and its text: a digest of the
// day, the text and which of the day's items with that text it is.
std::string item_uid(const std::string& day, const std::string& text, int occurrence);

// stamp is the DTSTAMP of every VTODO, in UTC.
std::string icalendar_text(const std::vector<ListedItem>& items, const QDateTime& stamp);
std::string csv_text(const std::vector<ListedItem>& items);

} // namespace tool
