#include "search/FindRows.h"

#include "todo/rules/DayKeys.h"

#include <algorithm>
#include <numeric>

namespace {
constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;

qint64 day_start(const QDate& date) {
    return date.toJulianDay() * kMsPerDay;
}
} // namespace

qint64 find_row_moment(const std::string& dateText, const QDateTime& now) {
    if (const auto date = parse_day_key(dateText)) return day_start(*date);
    return day_start(now.date()) + now.time().msecsSinceStartOfDay();
}

void sort_find_rows(std::vector<FindRow>& rows, const QDateTime& now) {
    // Each text is read once: rows of one day stand together, so the last key read is nearly always the
    // one asked for again, and reading a key is far dearer than comparing two numbers.
    std::vector<qint64> moments(rows.size());
    const std::string* lastText = nullptr;
    qint64 lastMoment = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!lastText || *lastText != rows[i].date) {
            lastText = &rows[i].date;
            lastMoment = find_row_moment(rows[i].date, now);
        }
        moments[i] = lastMoment;
    }
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return moments[a] < moments[b]; });
    std::vector<FindRow> sorted;
    sorted.reserve(rows.size());
    for (size_t i : order)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}
