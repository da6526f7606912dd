#include "WrapText.h"

#include <QTextBoundaryFinder>

namespace {
constexpr QChar kZeroWidthSpace(0x200B);
constexpr int kLongRun = 20;

void append_run(QString& out, const QString& run) {
    if (run.size() <= kLongRun) {
        out += run;
        return;
    }
    // Break only between whole characters, never inside a surrogate pair or before a combining mark.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, run);
    qsizetype from = 0;
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        out += run.mid(from, at - from);
        if (at < run.size()) out += kZeroWidthSpace;
        from = at;
    }
}
} // namespace

QString breakable_text(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 2);
    QString run;
    for (const QChar c : text) {
        if (c.isSpace()) {
            append_run(out, run);
            run.clear();
            out += c;
        } else {
            run += c;
        }
    }
    append_run(out, run);
    return out;
}

QString without_break_chances(QString text) {
    return text.remove(kZeroWidthSpace);
}
