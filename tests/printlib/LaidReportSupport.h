// Lays a report text out and finds what was laid where.
#pragma once

#include "printlib/LaidReport.h"
#include "printlib/ReportLayout.h"
#include "printlib/ReportSource.h"

#include <string>
#include <vector>

struct Laid {
    int32_t read = 0;
    LaidReport report;
    std::vector<std::string> problems;
};

inline Laid LayText(const std::string& text, QSizeF area = QSizeF(190, 277)) {
    Laid laid;
    ReportSource source;
    laid.read = source.LoadText(text);
    laid.report = ReportLayout(source, area).Lay();
    laid.problems = source.Problems();
    return laid;
}

struct Placed {
    int page = -1; // -1: not laid out at all
    const DrawCommand* command = nullptr;
    QRectF box() const { return command ? command->rect : QRectF(); }
};

// Every text command holding exactly this text, in page order.
inline std::vector<Placed> FindAll(const LaidReport& r, const QString& text) {
    std::vector<Placed> found;
    for (size_t p = 0; p < r.pages.size(); ++p)
        for (const auto* list : {&r.pages[p].body, &r.pages[p].footer})
            for (const DrawCommand& c : *list)
                if (c.kind == DrawCommand::Kind::Text && c.text == text)
                    found.push_back({static_cast<int>(p), &c});
    return found;
}

inline Placed Find(const LaidReport& r, const QString& text) {
    const std::vector<Placed> all = FindAll(r, text);
    return all.empty() ? Placed{} : all.front();
}

inline std::vector<const DrawCommand*> OfKind(const LaidPage& page, DrawCommand::Kind kind) {
    std::vector<const DrawCommand*> out;
    for (const DrawCommand& c : page.body)
        if (c.kind == kind) out.push_back(&c);
    return out;
}
