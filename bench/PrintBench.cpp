// The report printing library on a day of 1,000 items, the report written as the print dialog writes it:
// a title band, an item band with its check-box picture for every item, and a description band with a
// nested band per line for every third item. Reading and laying out alone, then the whole way to a PDF
// file on A4. Runs on Qt's offscreen platform unless another is chosen.
#include "printlib/PrintJob.h"
#include "printlib/ReportLayout.h"
#include "printlib/ReportSource.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <string>

namespace {

const char* const kTicked =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A101A86CFF5F06867D4"
    "0BCA716886D19187602F166590686E5BD0C0CEB8F02E59F02F157883A1006E901E905006C4C1ABA";
const char* const kEmptyBox =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A101A86CFF5FD23048"
    "0F482F00FECC1EA3";

std::string DayOf1000Items() {
    std::string r =
        "<REPORT>\r\n<BODY>\r\n<band arrange=\"vertical\" left=\"0\">\r\n<LABEL TEXT=\"12/8/2026\" "
        "ALIGNMENT=\"LEFT\"  LEFT=\"1.85\" TOP=\"2.12\" HEIGHT=\"5.82\"  FONT=\"Arial14B\"  "
        "COLOR=\"#000000\"/>\r\n</band>\r\n";
    for (int i = 0; i < 1000; ++i) {
        r += std::string("<band arrange=\"vertical\" left=\"0\">\r\n<IMAGE NAME=\"") +
             (i % 2 ? "__CHECKED" : "__UNCHECKED") + "\" LEFT=\"1.85\" TOP=\"0.00\"/><LABEL TEXT=\"Item " +
             std::to_string(i + 1) +
             ": call the garage about the winter tyres\" LEFT=\"6.61\" TOP=\"0.00\" HEIGHT=\"4.50\" "
             "WIDTH=\"180.44\"  FONT=\"Arial10\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\"/>\r\n</band>\r\n";
        if (i % 3 != 0) continue;
        r += "<band arrange=\"vertical\" left=\"0\">\r\n<LABEL TEXT=\"Description:\" ALIGNMENT=\"LEFT\"  "
             "LEFT=\"7.41\" TOP=\"0.26\" HEIGHT=\"3.44\"  FONT=\"Arial10I\"  COLOR=\"#000000\"/>\r\n";
        for (const char* line :
             {"Ask for the price of fitting and of storing the summer set", "Before Friday"})
            r += std::string(
                     "<band left=\"0\">\r\n<LABEL VALIGN=\"BOTTOM\" LEFT=\"7.41\" TOP=\"3.97\" "
                     "HEIGHT=\"5.82\"  FONT=\"Arial10\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\" TEXT=\"") +
                 line + "  \"/>\r\n</band>\r\n";
        r += "</band>\r\n";
    }
    r += "</BODY>\r\n<HEAD>\r\n<PAGEFOOTER>\r\n<label text=\"Page [[PAGE]] of [[PAGES]]\" align=\"center\" "
         "valign=\"top\"/>\r\n</PAGEFOOTER>\r\n"
         "\r\n\t<FONT NAME=\"Arial14B\" SIZE=\"14\" FACE=\"Arial\" CHARSET=\"RUSSIAN\" BOLD=\"YES\"/>"
         "\r\n\t<FONT NAME=\"Arial10\" SIZE=\"10\" FACE=\"Arial\" CHARSET=\"RUSSIAN\"/>"
         "\r\n\t<FONT NAME=\"Arial10I\" SIZE=\"10\" FACE=\"Arial\" CHARSET=\"RUSSIAN\" "
         "ITALIC=\"YES\"/></HEAD>\r\n"
         "<IMAGES>\r\n<IMAGEDATA NAME=\"__CHECKED\">";
    return r + kTicked + "</IMAGEDATA><IMAGEDATA NAME=\"__UNCHECKED\">" + kEmptyBox +
           "</IMAGEDATA></IMAGES>\r\n</REPORT>\r\n";
}

void BM_ReadAndLayOutDayOf1000Items(benchmark::State& state) {
    const std::string text = DayOf1000Items();
    size_t pages = 0;
    for (auto _ : state) {
        ReportSource source;
        source.LoadText(text);
        const LaidReport laid = ReportLayout(source, QSizeF(190, 277)).Lay();
        pages = laid.pages.size();
        benchmark::DoNotOptimize(pages);
    }
    state.SetLabel(std::to_string(text.size() / 1024) + " KiB report, " + std::to_string(pages) + " pages");
}
BENCHMARK(BM_ReadAndLayOutDayOf1000Items)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WritePdfOfDayOf1000Items(benchmark::State& state) {
    const std::string text = DayOf1000Items();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("day.pdf"));
    for (auto _ : state) {
        ReportSource source;
        source.LoadText(text);
        benchmark::DoNotOptimize(PrintJob::WritePdf(source, pdf, PrintJob::DefaultPageLayout()));
    }
    state.SetLabel("A4, " + std::to_string(QFileInfo(pdf).size() / 1024) + " KiB PDF");
}
BENCHMARK(BM_WritePdfOfDayOf1000Items)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
