// The rows a search finds and the order they are shown in.
#pragma once

#include <QDateTime>
#include <string>
#include <vector>

// One result: the day's key and the item's text, both as the document holds their bytes, so Go to finds
// the day and the row again even when a text is not valid in the locale's encoding.
struct FindRow {
    std::string date;
    std::string item;
};

// The moment a Date text stands for, in milliseconds: the start of its day, or "now" for a text that
// names no calendar day (so the date-independent list sorts after today's rows, before tomorrow's).
qint64 find_row_moment(const std::string& dateText, const QDateTime& now);

// Earliest moment first; rows of the same moment keep the order they were found in. The caller takes
// "now" once, so every comparison of one sort sees the same value.
void sort_find_rows(std::vector<FindRow>& rows, const QDateTime& now);
