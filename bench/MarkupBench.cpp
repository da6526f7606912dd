// Load, save and day lookup on the ten-year data file, with pugixml on the same tree as the yardstick.
#include "TenYearData.h"
#include "markup/NoxPigger.h"
#include "todo/rules/TodoRules.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

struct Fixture {
    std::string file;              // the data file as the program saves it
    std::vector<std::string> keys; // its day keys, in order
    std::string xml;               // the same tree as XML, saved by pugixml with default flags
    size_t elements = 0;           // elements in the tree, the unit both sides process
    bool roundTrips = false;       // loading the file and saving it again gives the same bytes
};

void copy_into_xml(const TNoxPigger& from, pugi::xml_node to, size_t& elements) {
    // Iterative, for the same reason the markup library is.
    std::vector<std::pair<const TNoxPigger*, pugi::xml_node>> work{{&from, to}};
    while (!work.empty()) {
        auto [e, parent] = work.back();
        work.pop_back();
        ++elements;
        pugi::xml_node node = parent.append_child(e->TagName().c_str());
        for (const auto& [name, value] : e->Attributes())
            node.append_attribute(name.c_str()).set_value(value.c_str());
        if (!e->Text.empty()) node.append_child(pugi::node_pcdata).set_value(e->Text.c_str());
        for (auto it = e->Children().rbegin(); it != e->Children().rend(); ++it)
            work.emplace_back(*it, node);
    }
}

const Fixture& fixture() {
    static const Fixture f = [] {
        Fixture f;
        TNoxPigger root;
        bench::build_ten_year_document(root);
        f.file = root.GetText();
        f.keys = bench::ten_year_day_keys();
        pugi::xml_document doc;
        copy_into_xml(root, doc, f.elements);
        StringWriter writer;
        doc.save(writer);
        f.xml = std::move(writer.out);
        // Timing a load that does not give the same document back would mean nothing.
        TNoxPigger again;
        again.SetText(NormalizeLineBreaks(f.file));
        f.roundTrips = again.GetText() == f.file;
        return f;
    }();
    return f;
}

// Milliseconds read better than nanoseconds for a whole ten-year file. On a busy machine, run with
// --benchmark_repetitions=5 --benchmark_report_aggregates_only=true and read the medians.
#define QM_BENCHMARK(fn) BENCHMARK(fn)->Unit(benchmark::kMillisecond)

void report(benchmark::State& state, size_t bytes) {
    const Fixture& f = fixture();
    if (!f.roundTrips) state.SkipWithError("the data file does not load back to the same bytes");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * f.elements));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

// The data file's load path from a buffer already in memory: line breaks normalised, then parsed into
// an empty document, as at start-up. Freeing the tree is left out of the time.
void BM_MarkupLoad(benchmark::State& state) {
    const Fixture& f = fixture();
    for (auto _ : state) {
        auto root = std::make_unique<TNoxPigger>();
        root->SetText(NormalizeLineBreaks(f.file));
        benchmark::DoNotOptimize(root->ChildCount());
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    report(state, f.file.size());
}
QM_BENCHMARK(BM_MarkupLoad);

// Loading into a document that already holds a tree, as Open does: the old tree is freed first.
void BM_MarkupReload(benchmark::State& state) {
    const Fixture& f = fixture();
    TNoxPigger root;
    root.SetText(NormalizeLineBreaks(f.file));
    for (auto _ : state) {
        root.SetText(NormalizeLineBreaks(f.file));
        benchmark::DoNotOptimize(root.ChildCount());
    }
    report(state, f.file.size());
}
QM_BENCHMARK(BM_MarkupReload);

void BM_MarkupSave(benchmark::State& state) {
    const Fixture& f = fixture();
    TNoxPigger root;
    root.SetText(NormalizeLineBreaks(f.file));
    for (auto _ : state) {
        std::string text = root.GetText();
        benchmark::DoNotOptimize(text.data());
    }
    report(state, f.file.size());
}
QM_BENCHMARK(BM_MarkupSave);

// Every day of the file looked up once, as visiting each day in the main window would.
void BM_FindOrCreateEveryDay(benchmark::State& state) {
    const Fixture& f = fixture();
    TNoxPigger root;
    root.SetText(NormalizeLineBreaks(f.file));
    for (auto _ : state)
        for (const std::string& key : f.keys)
            benchmark::DoNotOptimize(todo::find_or_create_day(root, key));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.file.size()));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * f.keys.size()));
    if (root.ChildCount() != static_cast<int>(f.keys.size()))
        state.SkipWithError("a day was not found and got created");
}
QM_BENCHMARK(BM_FindOrCreateEveryDay);

void BM_PugixmlParse(benchmark::State& state) {
    const Fixture& f = fixture();
    for (auto _ : state) {
        auto doc = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result ok = doc->load_buffer(f.xml.data(), f.xml.size());
        if (!ok) {
            state.SkipWithError(ok.description());
            break;
        }
        benchmark::DoNotOptimize(doc->first_child());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    report(state, f.xml.size());
}
QM_BENCHMARK(BM_PugixmlParse);

void BM_PugixmlReparse(benchmark::State& state) {
    const Fixture& f = fixture();
    pugi::xml_document doc;
    doc.load_buffer(f.xml.data(), f.xml.size());
    for (auto _ : state) {
        const pugi::xml_parse_result ok = doc.load_buffer(f.xml.data(), f.xml.size());
        if (!ok) {
            state.SkipWithError(ok.description());
            break;
        }
        benchmark::DoNotOptimize(doc.first_child());
    }
    report(state, f.xml.size());
}
QM_BENCHMARK(BM_PugixmlReparse);

void BM_PugixmlSerialise(benchmark::State& state) {
    const Fixture& f = fixture();
    pugi::xml_document doc;
    doc.load_buffer(f.xml.data(), f.xml.size());
    for (auto _ : state) {
        StringWriter writer;
        doc.save(writer);
        benchmark::DoNotOptimize(writer.out.data());
    }
    report(state, f.xml.size());
}
QM_BENCHMARK(BM_PugixmlSerialise);

// Keeps the times of the runs (their medians when repeated) for the comparison printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name.empty() || run.aggregate_name == "median")
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    // How fast ours runs against pugixml's on the same tree: above 1 is faster.
    void PrintRatio(const char* what, const std::string& ours, const std::string& theirs, double goal) const {
        const auto o = times_.find(ours), t = times_.find(theirs);
        if (o == times_.end() || t == times_.end() || o->second <= 0) return;
        const double ratio = t->second / o->second;
        std::printf("%-6s %8.2f ms, pugixml %8.2f ms: %.2fx pugixml's speed", what, o->second, t->second,
                    ratio);
        if (goal > 0) std::printf(" (goal %.1fx: %s)", goal, ratio >= goal ? "met" : "NOT met");
        std::printf("\n");
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    // --write-ten-year=FILE writes the file measured here, to try the program or the tool on it.
    constexpr std::string_view kWrite = "--write-ten-year=";
    if (argc == 2 && std::string_view(argv[1]).starts_with(kWrite)) {
        const std::string name(std::string_view(argv[1]).substr(kWrite.size()));
        WriteFileAtomically(name, fixture().file);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nTen-year file against pugixml (medians when repeated):\n");
    reporter.PrintRatio("load", "BM_MarkupLoad", "BM_PugixmlParse", 0.5);
    reporter.PrintRatio("reload", "BM_MarkupReload", "BM_PugixmlReparse", 0);
    reporter.PrintRatio("save", "BM_MarkupSave", "BM_PugixmlSerialise", 1.0);
    return 0;
}
