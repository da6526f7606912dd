#include "ui/WrapText.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

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

QLabel* make_wrapped_label(const char* name, QFrame* frame) {
    auto* label = new QLabel(frame);
    label->setObjectName(QString::fromLatin1(name));
    // Texts come from the user's data: never read them as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea(frame);
    scroll->setObjectName(label->objectName() + QStringLiteral("_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->viewport()->setAutoFillBackground(false);
    scroll->setWidget(label);
    label->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(scroll);
    return label;
}

void fit_wrapped_label(QWidget* window, QFrame* frame, QLabel* label) {
    // The label gets the width the window leaves it and exactly the height of its wrapped lines; a text
    // taller than most of the screen scrolls instead, so the buttons below it stay within reach.
    auto* scroll = frame->findChild<QScrollArea*>();
    const QMargins outer = window->layout()->contentsMargins();
    const QMargins inner = frame->layout()->contentsMargins();
    const int labelWidth = window->width() - outer.left() - outer.right() - inner.left() - inner.right() -
                           2 * frame->frameWidth();
    label->setMinimumHeight(0); // the label measures itself no smaller than its minimum
    auto heightAt = [&](int width) {
        const int h = label->heightForWidth(width); // none for an empty text
        return h >= 0 ? h : label->sizeHint().height();
    };
    int labelHeight = heightAt(labelWidth);
    int shown = labelHeight;
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().height() * 3 / 5 : 600;
    if (scroll && labelHeight > room) {
        labelHeight =
            heightAt(labelWidth - scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll));
        shown = room;
    }
    label->setFixedHeight(labelHeight);
    if (scroll) {
        scroll->setFixedHeight(shown);
        scroll->verticalScrollBar()->setValue(0);
        // A tab stop only when there is something to scroll with the keys; otherwise an invisible one.
        scroll->setFocusPolicy(shown < labelHeight ? Qt::StrongFocus : Qt::NoFocus);
    }
    frame->updateGeometry(); // the window's layout caches the frame's size until told
    window->setFixedHeight(window->layout()->totalSizeHint().height());
}
