#include "report/ControlText.h"

#include "todo/rules/TextCodec.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>
#include <optional>

namespace {

constexpr char kBytesProperty[] = "itemBytes";

std::optional<std::string> RememberedBytes(const QWidget& control) {
    const QVariant value = control.property(kBytesProperty);
    if (!value.isValid()) return std::nullopt;
    const QByteArray bytes = value.toByteArray();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// Splits bytes where the text box starts a new paragraph: CR LF, CR, LF and U+2029.
std::vector<std::string> ByteParagraphs(const std::string& bytes) {
    std::vector<std::string> out(1);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            out.emplace_back();
        } else if (bytes.compare(i, 3, "\xE2\x80\xA9") == 0) {
            i += 2;
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

// The length of the valid UTF-8 sequence at i and the UTF-16 units it makes, or 0 when it is not one.
size_t ValidSequence(const std::string& bytes, size_t i, int& units) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    size_t length = 0;
    char32_t code = 0, least = 0;
    if (lead >= 0xC2 && lead < 0xE0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) return 0;
        code = code << 6 | (at(i + k) & 0x3F);
    }
    if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
    units = code > 0xFFFF ? 2 : 1;
    return length;
}

// The byte offset at which each character of to_qstring(bytes) begins, and the length at the end, as
// QString::fromUtf8 decodes: a valid sequence gives its characters, any other byte one replacement
// mark, and a byte-order mark at the start nothing (it stays with the first character here). Offsets
// inside a surrogate pair are npos.
std::vector<size_t> CharacterOffsets(const std::string& bytes) {
    std::vector<size_t> offsets{0};
    offsets.reserve(bytes.size() + 1);
    size_t i = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < bytes.size()) {
        int units = 1;
        size_t length = static_cast<unsigned char>(bytes[i]) < 0x80 ? 1 : ValidSequence(bytes, i, units);
        if (length == 0) length = 1;
        if (units == 2) offsets.push_back(std::string::npos);
        i += length;
        offsets.push_back(i);
    }
    return offsets;
}

// One paragraph's text as the box shows it, with the bytes behind it and where its characters begin in
// them, when they are known.
struct Paragraph {
    QString text;
    std::string bytes;
    std::vector<size_t> offsets; // empty when the bytes are not known
};

struct BoxShape {
    const QTextDocument* document = nullptr;
    QTextOption::WrapMode wrap = QTextOption::WrapAtWordBoundaryOrAnywhere;
    qreal width = -1; // no wrapping below zero
};

BoxShape ShapeOf(const QWidget& box) {
    BoxShape shape;
    const QAbstractScrollArea* area = nullptr;
    int fixedWidth = -1;
    bool noWrap = false;
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(&box)) {
        shape.document = plain->document();
        shape.wrap = plain->wordWrapMode();
        noWrap = plain->lineWrapMode() == QPlainTextEdit::NoWrap;
        area = plain;
    } else if (const auto* rich = qobject_cast<const QTextEdit*>(&box)) {
        shape.document = rich->document();
        shape.wrap = rich->wordWrapMode();
        switch (rich->lineWrapMode()) {
        case QTextEdit::NoWrap:
            noWrap = true;
            break;
        case QTextEdit::FixedPixelWidth:
            fixedWidth = rich->lineWrapColumnOrWidth();
            break;
        case QTextEdit::FixedColumnWidth:
            fixedWidth = rich->lineWrapColumnOrWidth() * rich->fontMetrics().averageCharWidth();
            break;
        case QTextEdit::WidgetWidth:
            break;
        }
        area = rich;
    }
    if (!area || noWrap) return shape;
    // The viewport's width as the box would have it when shown: inside the frame, less a scroll bar
    // that is always there, less the document's margins.
    qreal width = fixedWidth >= 0 ? fixedWidth : area->contentsRect().width();
    if (fixedWidth < 0 && area->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        width -= area->verticalScrollBar()->sizeHint().width();
    shape.width = std::max<qreal>(width - 2 * shape.document->documentMargin(), 0);
    return shape;
}

} // namespace

void SetControlBytes(QWidget& control, const std::string& bytes) {
    const QString text = to_qstring(bytes);
    if (auto* label = qobject_cast<QLabel*>(&control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(&control))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(&control))
        combo->setEditText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(&control))
        plain->setPlainText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(&control))
        rich->setPlainText(text);
    control.setProperty(kBytesProperty, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ControlBytes(const QWidget& control, const QString& shown) {
    if (auto bytes = RememberedBytes(control); bytes && to_qstring(*bytes) == shown) return *bytes;
    return from_qstring(shown);
}

std::vector<std::string> LaidOutLines(const QWidget& box) {
    const BoxShape shape = ShapeOf(box);
    std::vector<std::string> lines;
    if (!shape.document) return lines;

    std::vector<Paragraph> paragraphs;
    for (QTextBlock block = shape.document->begin(); block.isValid(); block = block.next())
        paragraphs.push_back({block.text(), {}, {}});
    // The remembered bytes count only when they still make exactly these paragraphs.
    if (auto bytes = RememberedBytes(box)) {
        std::vector<std::string> parts = ByteParagraphs(*bytes);
        bool same = parts.size() == paragraphs.size();
        for (size_t i = 0; same && i < parts.size(); ++i)
            same = to_qstring(parts[i]) == paragraphs[i].text;
        for (size_t i = 0; same && i < parts.size(); ++i) {
            std::vector<size_t> offsets = CharacterOffsets(parts[i]);
            if (offsets.size() != static_cast<size_t>(paragraphs[i].text.size()) + 1) continue;
            paragraphs[i].bytes = std::move(parts[i]);
            paragraphs[i].offsets = std::move(offsets);
        }
    }

    QTextOption option;
    option.setWrapMode(shape.width < 0 ? QTextOption::NoWrap : shape.wrap);
    option.setTabStopDistance(shape.document->defaultTextOption().tabStopDistance());
    const QFont font = box.font();
    for (const Paragraph& p : paragraphs) {
        QTextLayout layout(p.text, font);
        layout.setTextOption(option);
        layout.setCacheEnabled(false);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            if (shape.width >= 0) line.setLineWidth(shape.width);
            const auto start = static_cast<size_t>(line.textStart());
            const auto end = start + static_cast<size_t>(line.textLength());
            if (!p.offsets.empty() && p.offsets[start] != std::string::npos &&
                p.offsets[end] != std::string::npos)
                lines.push_back(p.bytes.substr(p.offsets[start], p.offsets[end] - p.offsets[start]));
            else
                lines.push_back(from_qstring(p.text.mid(line.textStart(), line.textLength())));
        }
        layout.endLayout();
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}
