// The hour grid: filling it for a day of 1,000 items; opening it on the ten-year file's busiest day, on an
// empty day of that file, and on the busiest day alone in a file of its own. The grid reads only the day
// it shows, so the size of the file must make no difference.
#include "TenYearData.h"
#include "hourgrid/TFhour_grid.h"
#include "program/ProgramWindows.h"
#include "todo/rules/TodoRules.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct GridProgram {
    QTemporaryDir dir;
    std::unique_ptr<ProgramWindows> windows;
    TFhour_grid* grid = nullptr;

    explicit GridProgram(const std::string& dataFile = {}) {
        if (!dataFile.empty()) {
            QFile f(dir.filePath(QStringLiteral("quillmarch.dat")));
            f.open(QIODevice::WriteOnly);
            f.write(dataFile.data(), static_cast<qint64>(dataFile.size()));
        }
        windows = std::make_unique<ProgramWindows>(dir.filePath(QStringLiteral("quillmarch")));
        windows->Create();
        grid = windows->HourGridWindow();
        grid->CurrentTime = [] { return QTime(12, 10); };
    }
    TNoxPigger& Root() const { return windows->list.Doc(); }
};

// Three quarters of the items timed, spread over the whole day, a few outside the grid hours.
void BM_FillHourGridWith1000ItemsAt15Minutes(benchmark::State& state) {
    GridProgram program;
    program.windows->settings.SetTimeResolution(15);
    TNoxPigger* day = todo::find_or_create_day(program.Root(), "1/2/2027");
    for (int i = 0; i < 1000; ++i) {
        TNoxPigger* item = day->AddChild(todo::kItemTag);
        item->SetAttr(todo::kCaptionAttr, "Item number " + std::to_string(i));
        item->SetAttr(todo::kIndexAttr, std::to_string(i % 36));
        if (i % 4) todo::set_item_time(*item, (i * 7) % 24, (i * 13) % 60);
    }
    program.grid->OpenDay(day, day->Child(0));
    for (auto _ : state) {
        program.grid->Fill();
        benchmark::DoNotOptimize(program.grid->TV1);
    }
    state.SetLabel("1,000 items, 750 timed");
}
BENCHMARK(BM_FillHourGridWith1000ItemsAt15Minutes)->Unit(benchmark::kMillisecond);

// The day with the most timed items; ties go to the earliest.
TNoxPigger* busiest_day(const TNoxPigger& root) {
    TNoxPigger* busiest = nullptr;
    int most = -1;
    for (TNoxPigger* day = root.FindChild(todo::kDayTag); day; day = root.FindNextSibling(day)) {
        int timed = 0;
        for (const TNoxPigger* item : day->Children())
            timed += todo::is_timed(*item) ? 1 : 0;
        if (timed > most) {
            most = timed;
            busiest = day;
        }
    }
    return busiest;
}

// Opening as the user sees it: fill, show, draw, close.
enum class Shown { EmptyDay, BusiestDay, BusiestDayAlone };

void open_grid(benchmark::State& state, Shown shown) {
    GridProgram program(shown == Shown::BusiestDayAlone ? std::string() : bench::ten_year_data_file());
    TNoxPigger* day = todo::find_or_create_day(program.Root(), "an empty day");
    if (shown == Shown::BusiestDay) day = busiest_day(program.Root());
    if (shown == Shown::BusiestDayAlone) {
        // The same day as the only one of its document.
        TNoxPigger tenYears;
        bench::build_ten_year_document(tenYears);
        day->Assign(*busiest_day(tenYears));
    }
    program.windows->settings.SetTimeResolution(15);
    for (auto _ : state) {
        program.grid->OpenDay(day, nullptr);
        program.grid->show();
        QApplication::processEvents();
        program.grid->hide();
    }
}
void BM_OpenHourGridOnAnEmptyDayOfTheTenYearFile(benchmark::State& state) {
    open_grid(state, Shown::EmptyDay);
}
void BM_OpenHourGridOnTheBusiestDayOfTheTenYearFile(benchmark::State& state) {
    open_grid(state, Shown::BusiestDay);
}
void BM_OpenHourGridOnThatDayAloneInItsFile(benchmark::State& state) {
    open_grid(state, Shown::BusiestDayAlone);
}
BENCHMARK(BM_OpenHourGridOnAnEmptyDayOfTheTenYearFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenHourGridOnTheBusiestDayOfTheTenYearFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenHourGridOnThatDayAloneInItsFile)->Unit(benchmark::kMillisecond);

} // namespace
