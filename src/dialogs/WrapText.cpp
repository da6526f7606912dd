#include "WrapText.h"

#include <QFrame>
#include <QLabel>
#include <QLayout>
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

void fit_wrapped_label(QWidget* window, QFrame* frame, QLabel* label) {
    // The label gets the width the window leaves it and exactly the height of its wrapped lines.
    const QMargins outer = window->layout()->contentsMargins();
    const QMargins inner = frame->layout()->contentsMargins();
    const int labelWidth = window->width() - outer.left() - outer.right() - inner.left() - inner.right() -
                           2 * frame->frameWidth();
    label->setMinimumHeight(0); // the label measures itself no smaller than its minimum
    const int labelHeight = label->heightForWidth(labelWidth); // none for an empty text
    label->setFixedHeight(labelHeight >= 0 ? labelHeight : label->sizeHint().height());
    frame->updateGeometry(); // the window's layout caches the frame's size until told
    window->setFixedHeight(window->layout()->totalSizeHint().height());
}
