// Month calendars on the ten-year file: marking the days that hold items in bold. The first page after a
// change walks the document once; turning pages afterwards only looks up the days shown.
#include "TenYearData.h"
#include "todo/ItemDaysMarker.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoList.h"

#include <QCalendarWidget>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <benchmark/benchmark.h>

namespace {

struct TenYearCalendar {
    QTemporaryDir dir;
    Settings settings{dir.filePath(QStringLiteral("quillmarch.set"))};
    TodoList list{settings, dir.filePath(QStringLiteral("quillmarch.dat"))};
    QCalendarWidget calendar;
    ItemDaysMarker* marker = ItemDaysMarker::Attach(list, &calendar);
    TenYearCalendar() {
        bench::build_ten_year_document(list.Doc());
        list.NoteChange();
        calendar.setCurrentPage(2020, 6);
    }
};

void BM_CalendarPageAfterAChange(benchmark::State& state) {
    TenYearCalendar c;
    for (auto _ : state) {
        c.list.NoteChange();
        c.marker->MarkPage();
    }
    int bold = 0;
    for (QDate d(2020, 6, 1); d.month() == 6; d = d.addDays(1))
        bold += c.calendar.dateTextFormat(d).fontWeight() == QFont::Bold;
    state.counters["bold_days_in_June"] = bold;
    state.SetLabel("ten-year file, 3,650 days: one walk and one page");
}
BENCHMARK(BM_CalendarPageAfterAChange)->Unit(benchmark::kMicrosecond);

void BM_CalendarTurnOnePage(benchmark::State& state) {
    TenYearCalendar c;
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            c.calendar.showNextMonth();
        else
            c.calendar.showPreviousMonth();
        forward = !forward;
    }
    state.SetLabel("ten-year file, cached days");
}
BENCHMARK(BM_CalendarTurnOnePage)->Unit(benchmark::kMicrosecond);

} // namespace
