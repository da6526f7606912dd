// The program's windows on the ten-year data file: start-up until today's list is shown, and filling and
// storing a day of 1,000 items. Runs on Qt's offscreen platform unless another is chosen.
#include "TenYearData.h"
#include "program/ProgramWindows.h"
#include "todo/TFmain.h"
#include "todo/rules/TodoRules.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString write_program_folder(QTemporaryDir& dir, const std::string& bytes) {
    QFile f(dir.filePath(QStringLiteral("quillmarch.dat")));
    f.open(QIODevice::WriteOnly);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return dir.filePath(QStringLiteral("quillmarch"));
}

QString write_ten_year_program_folder(QTemporaryDir& dir) {
    return write_program_folder(dir, bench::ten_year_data_file());
}

void start_up(benchmark::State& state, const QString& program) {
    for (auto _ : state) {
        auto windows = std::make_unique<ProgramWindows>(program);
        windows->Create();
        windows->registry.main->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(windows->registry.main->current_day);
        state.PauseTiming();
        windows.reset();
        state.ResumeTiming();
    }
}

void BM_StartUpUntilTodayIsShown(benchmark::State& state) {
    QTemporaryDir dir;
    start_up(state, write_ten_year_program_folder(dir));
    state.SetLabel("ten-year file, 36,500 items");
}
BENCHMARK(BM_StartUpUntilTodayIsShown)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same start-up on a list without items: the difference to the one above is what the data costs.
void BM_StartUpOnAnEmptyList(benchmark::State& state) {
    QTemporaryDir dir;
    start_up(state, write_program_folder(dir, "\r\n<TODO_DATA/>"));
    state.SetLabel("empty list");
}
BENCHMARK(BM_StartUpOnAnEmptyList)->Unit(benchmark::kMillisecond)->UseRealTime();

struct BigDay {
    QTemporaryDir dir;
    std::unique_ptr<ProgramWindows> windows =
        std::make_unique<ProgramWindows>(dir.filePath(QStringLiteral("quillmarch")));
    TFmain* main() const { return windows->registry.main; }
    BigDay() {
        windows->Create();
        TFmain& main = *this->main();
        for (int i = 0; i < 1000; ++i) {
            TNoxPigger* item = main.current_day->AddChild("TASK");
            item->SetAttr("CAPTION", "Item number " + std::to_string(i));
            item->SetAttr("INDEX", std::to_string(i % 36));
            if (i % 3 == 0) item->SetAttr("D", "Y");
        }
    }
};

void BM_FillDayListOf1000Items(benchmark::State& state) {
    BigDay day;
    for (auto _ : state) {
        day.main()->fill_day_list();
        benchmark::DoNotOptimize(day.main()->LV1);
    }
}
BENCHMARK(BM_FillDayListOf1000Items)->Unit(benchmark::kMillisecond);

void BM_StoreDayListOf1000Items(benchmark::State& state) {
    BigDay day;
    day.main()->fill_day_list();
    for (auto _ : state)
        day.main()->store_day_list();
}
BENCHMARK(BM_StoreDayListOf1000Items)->Unit(benchmark::kMillisecond);

} // namespace
