// Feeds bytes to the report reader and lays what it reads out, on a sheet of A4 and on a tiny page that
// forces breaks everywhere. Reading and layout must end, stay within their bounds and keep their
// promises: every report that can be drawn has pages, every page its footer numbers, and nothing on a
// page that was not cut lies outside the body.
#include "printlib/LaidReport.h"
#include "printlib/ReportLayout.h"
#include "printlib/ReportSource.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what, double a = 0, double b = 0) {
    std::fprintf(stderr, "%s (%g, %g)\n", what, a, b);
    std::abort();
}

void Check(ReportSource& source, QSizeF area) {
    const LaidReport laid = ReportLayout(source, area).Lay();
    if (laid.result != 0) {
        if (!laid.pages.empty()) Fail("pages kept beside a refusal");
        return;
    }
    if (laid.pages.empty()) Fail("a drawable report without pages");
    for (const LaidPage& page : laid.pages) {
        for (const DrawCommand& c : page.footer)
            if (c.kind == DrawCommand::Kind::Text && c.text.contains(QLatin1String("[[PAGES]]")))
                Fail("a page count left unfilled");
        if (page.clipped) continue;
        for (const DrawCommand& c : page.body) {
            if (c.kind == DrawCommand::Kind::Line) continue;
            if (c.rect.top() < -1e-6 || c.rect.bottom() > page.clipBottom + 1e-6)
                Fail("a part outside its page", c.rect.top(), c.rect.bottom());
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts need a GUI application; it lives as long as the process.
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReportSource source;
    source.LoadText(std::string(reinterpret_cast<const char*>(data), size));
    if (!source.Drawable()) return 0;
    Check(source, QSizeF(190, 277));
    Check(source, QSizeF(40, 25));
    return 0;
}
