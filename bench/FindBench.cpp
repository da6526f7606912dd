// The search windows on the ten-year data file (36,500 items): each case runs from "Start search" until
// the sorted results are shown with the first one selected. Runs on Qt's offscreen platform unless another
// is chosen.
#include "TenYearData.h"
#include "program/ProgramWindows.h"
#include "search/TF_find_context.h"
#include "search/TF_find_uncomplete.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct TenYearProgram {
    QTemporaryDir dir;
    std::unique_ptr<ProgramWindows> windows;

    TenYearProgram() {
        const std::string bytes = bench::ten_year_data_file();
        QFile f(dir.filePath(QStringLiteral("quillmarch.dat")));
        f.open(QIODevice::WriteOnly);
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        f.close();
        windows = std::make_unique<ProgramWindows>(dir.filePath(QStringLiteral("quillmarch")));
        windows->Create(ProgramWindows::Main | ProgramWindows::Msg | ProgramWindows::FindUncomplete |
                        ProgramWindows::FindContext);
    }
    TF_find_context& context() { return *dynamic_cast<TF_find_context*>(windows->registry.findContext); }
    TF_find_uncomplete& uncomplete() {
        return *dynamic_cast<TF_find_uncomplete*>(windows->registry.findUncomplete);
    }
};

// Built on first use and gone before the application, which its windows need to the end.
std::unique_ptr<TenYearProgram> g_program;
TenYearProgram& program() {
    if (!g_program) {
        g_program = std::make_unique<TenYearProgram>();
        // Its windows go before the application does.
        qAddPostRoutine([] { g_program.reset(); });
    }
    return *g_program;
}

// One search as the user starts it, until the sorted list has been painted.
void run_search(benchmark::State& state, TF_find& window) {
    window.SetRoot(&program().windows->registry.list.Doc());
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.Btn_start->click();
        QApplication::processEvents();
    }
    state.counters["rows"] = static_cast<double>(window.Results->rowCount());
    window.hide();
}

void BM_FindContextInItemTexts(benchmark::State& state) {
    TF_find_context& w = program().context();
    w.Edit1->setText(QStringLiteral("call"));
    w.CB_item->setChecked(true);
    w.CB_dsc->setChecked(false);
    run_search(state, w);
}
BENCHMARK(BM_FindContextInItemTexts)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindContextInTextsAndDescriptions(benchmark::State& state) {
    TF_find_context& w = program().context();
    w.Edit1->setText(QStringLiteral("call"));
    w.CB_item->setChecked(true);
    w.CB_dsc->setChecked(true);
    run_search(state, w);
}
BENCHMARK(BM_FindContextInTextsAndDescriptions)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindUncompletedWithoutLimits(benchmark::State& state) {
    TF_find_uncomplete& w = program().uncomplete();
    w.CB_0->setChecked(false);
    w.CB_1->setChecked(false);
    run_search(state, w);
}
BENCHMARK(BM_FindUncompletedWithoutLimits)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindUncompletedInOneYear(benchmark::State& state) {
    TF_find_uncomplete& w = program().uncomplete();
    w.CB_0->setChecked(true);
    w.DatePicker0->setDate(QDate(2020, 1, 1));
    w.CB_1->setChecked(true);
    w.DatePicker1->setDate(QDate(2020, 12, 31));
    run_search(state, w);
}
BENCHMARK(BM_FindUncompletedInOneYear)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
