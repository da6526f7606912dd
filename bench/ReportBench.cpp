// Printing a day of 1,000 items: each item's panel (check box, time label, three-line description)
// converted into report text, as the print dialog does before handing the report to the library.
#include "report/TDataStream.h"
#include "report/TReportConverter.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<QWidget> ItemPanel(int i) {
    auto panel = std::make_unique<QWidget>();
    auto* box = new QCheckBox(QStringLiteral("Item number %1 of the day").arg(i), panel.get());
    box->setGeometry(0, 0, 300, 17);
    box->setChecked(i % 3 == 0);
    auto* time = new QLabel(QStringLiteral("10:%1").arg(i % 60, 2, 10, QLatin1Char('0')), panel.get());
    time->setGeometry(310, 0, 40, 13);
    auto* description = new QPlainTextEdit(panel.get());
    description->setGeometry(18, 20, 400, 60);
    description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    description->setPlainText(QStringLiteral("Call the garage about the brakes (item %1)\n"
                                             "Bring the papers and the spare key\nPay by card")
                                  .arg(i));
    return panel;
}

void BM_Convert1000ItemPanels(benchmark::State& state) {
    std::vector<std::unique_ptr<QWidget>> panels;
    for (int i = 0; i < 1000; ++i)
        panels.push_back(ItemPanel(i));
    TReportConverter converter;
    size_t bytes = 0;
    for (auto _ : state) {
        TDataStream buffer;
        converter.BeginReport(buffer);
        for (const auto& panel : panels)
            converter.AddPanel(*panel, buffer);
        converter.EndReport(buffer);
        const std::string report = buffer.Extract(0);
        bytes = report.size();
        benchmark::DoNotOptimize(report.data());
    }
    state.SetLabel(std::to_string(bytes) + " bytes of report");
}
BENCHMARK(BM_Convert1000ItemPanels)->Unit(benchmark::kMillisecond);

} // namespace
