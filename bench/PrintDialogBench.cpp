// The print dialog building the report of a day of 1,000 items, each with a three-line description:
// templates styled, filled and converted, and the report file written. Offscreen unless chosen otherwise.
#include "program/ProgramWindows.h"
#include "report/TD_print.h"
#include "todo/rules/TodoRules.h"

#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_BuildReportOfADayOf1000ItemsWithDescriptions(benchmark::State& state) {
    QTemporaryDir dir;
    ProgramWindows windows(dir.filePath(QStringLiteral("quillmarch")));
    windows.Create(ProgramWindows::Print);
    TNoxPigger* day = todo::find_or_create_day(windows.list.Doc(), "12/8/2026");
    for (int i = 0; i < 1000; ++i) {
        TNoxPigger* item = day->AddChild("TASK");
        item->SetAttr("CAPTION", "Item number " + std::to_string(i) + " of a long day");
        if (i % 3 == 0) item->SetAttr("D", "Y");
        item->AddChild("DSC")->Text = "First line of the description of item " + std::to_string(i) +
                                      "\r\nA second line\r\nAnd a third, somewhat longer line to end it";
    }
    TD_print& print = *windows.PrintWindow();
    print.Prepare(day, nullptr);
    print.CB_Description->setChecked(true);
    const std::string file = dir.filePath(QStringLiteral("tmp.r")).toStdString();
    for (auto _ : state)
        print.BuildReport(file);
    state.SetLabel("1,000 items, 3-line descriptions");
}
BENCHMARK(BM_BuildReportOfADayOf1000ItemsWithDescriptions)->Unit(benchmark::kMillisecond);

} // namespace
