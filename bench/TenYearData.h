// A "ten-year" to-do document for benchmarks: 3,650 consecutive days of ten items each, shaped like a
// list that has been used daily for years.
#pragma once

#include "markup/NoxPigger.h"

#include <QDate>

#include <string>
#include <vector>

namespace bench {

struct TenYearShape {
    QDate firstDay{2016, 1, 1};
    int days = 3650;
    int itemsPerDay = 10;
    unsigned long long seed = 20160101; // the same seed gives the same bytes on every run
};

// Fills root (cleared first) with TODO_DATA: one DAY_DATA per day in date order, each with its TASK items.
// About a third are done, about a quarter timed, some carry descriptions of a few lines, some texts need
// escaping (% < > ") and some are non-ASCII UTF-8. Day keys are rendered under en_US whatever the default
// locale is; a reader of the file must pin en_US too.
void build_ten_year_document(TNoxPigger& root, const TenYearShape& shape = {});

// The day keys of the document, in document order.
std::vector<std::string> ten_year_day_keys(const TenYearShape& shape = {});

// The data file's bytes, exactly as the program saves the document.
std::string ten_year_data_file(const TenYearShape& shape = {});

} // namespace bench
