// quillmarch-tool export on the ten-year data file (36,500 items): from the file's bytes to the whole
// iCalendar or CSV text, as the command does between reading and writing.
#include "TenYearData.h"
#include "cli/ExportFormats.h"
#include "cli/ListedItems.h"

#include <QDateTime>
#include <QLocale>
#include <benchmark/benchmark.h>

namespace {

enum class Format { Ics, Csv };

void export_file(benchmark::State& state, Format format) {
    // The generator writes en_US keys and records no format: read them under en_US.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::string bytes = bench::ten_year_data_file();
    const QDateTime stamp = QDateTime::currentDateTimeUtc();
    size_t size = 0;
    for (auto _ : state) {
        TNoxPigger root;
        root.SetText(NormalizeLineBreaks(bytes));
        const std::vector<tool::ListedItem> items = tool::listed_items(root);
        const std::string text =
            format == Format::Ics ? tool::icalendar_text(items, stamp) : tool::csv_text(items);
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(size);
}

void BM_ExportTenYearsAsICalendar(benchmark::State& state) {
    export_file(state, Format::Ics);
}
void BM_ExportTenYearsAsCsv(benchmark::State& state) {
    export_file(state, Format::Csv);
}
BENCHMARK(BM_ExportTenYearsAsICalendar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTenYearsAsCsv)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
