#include "printlib/ReportLayout.h"

#include "markup/NoxPigger.h"
#include "printlib/PrintResult.h"
#include "printlib/ReportLimits.h"
#include "printlib/ReportSource.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr double kEps = 1e-6;
constexpr double kHugeTwips = 1e7;
// Pictures are sized as the print dialogs measured them: pixels of a 96 dots-per-inch screen.
constexpr double kMmPerPicturePixel = 25.4 / 96.0;
constexpr double kDefaultPoints = 10.0;
constexpr int kSharpSide = 128;

bool IsYes(const std::string& value) {
    return SameTextAscii(value, "YES") || SameTextAscii(value, "Y");
}

// Decimal numbers only: a sign, digits and one decimal point. Nothing like "inf", "nan" or exponents.
std::optional<double> ParseNumber(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    if (b == e) return std::nullopt;
    bool negative = false;
    if (text[b] == '-' || text[b] == '+') negative = text[b++] == '-';
    double whole = 0, scale = 1;
    bool digits = false, point = false;
    for (size_t i = b; i < e; ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            // Beyond a few hundred digits the value is absurd either way; keep it finite.
            if (whole < 1e300) {
                if (point) {
                    scale /= 10;
                    whole += (c - '0') * scale;
                } else {
                    whole = whole * 10 + (c - '0');
                }
            }
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    return negative ? -whole : whole;
}

std::optional<QColor> ParseColour(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        int v = 0;
        for (int j = 0; j < 2; ++j) {
            const char c = text[static_cast<size_t>(1 + i * 2 + j)];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else
                return std::nullopt;
            v = v * 16 + d;
        }
        rgb[i] = v;
    }
    return QColor(rgb[0], rgb[1], rgb[2]);
}

// Texts are in the system's 8-bit encoding. A caption's line break stays a line break; blanks at the end
// carry nothing but would shift right-aligned text.
QString LabelText(const std::string& bytes) {
    QString text = QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    qsizetype n = text.size();
    while (n > 0 && (text[n - 1] == QLatin1Char(' ') || text[n - 1] == QLatin1Char('\t')))
        --n;
    text.truncate(n);
    return text;
}

QFont BaseFont() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    // Glyph widths must not depend on the device: layout and painting use the same outlines.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPixelSize(static_cast<int>(kDefaultPoints * 20));
    return font;
}

} // namespace

void ReportLayout::Extent::Add(double t, double b, double r) {
    if (empty) {
        top = t;
        bottom = b;
        right = r;
        empty = false;
        return;
    }
    top = std::min(top, t);
    bottom = std::max(bottom, b);
    right = std::max(right, r);
}

ReportLayout::ReportLayout(ReportSource& source, QSizeF areaMm) : source_(source), area_(areaMm) {}

LaidReport ReportLayout::Lay() {
    out_ = LaidReport{};
    out_.area = area_;
    out_.fonts.push_back(BaseFont());
    galley_.clear();
    footer_.clear();
    pictureSizes_.clear();
    imageIndex_.clear();
    fontIndex_.clear();
    metrics_.clear();
    spans_.clear();
    tables_.clear();
    if (!source_.Drawable()) return std::move(out_);
    const double width = std::max(0.0, area_.width());

    // The footer first: its height decides how much of each page the body has.
    double footerHeight = 0;
    if (source_.Footer()) {
        items_ = &footer_;
        const Extent e = LayContainer(*source_.Footer(), 0, width, false);
        spans_.clear();
        tables_.clear();
        if (!e.empty) footerHeight = std::max(0.0, e.bottom);
        if (footerHeight > area_.height() / 2) {
            source_.Note("The page footer is taller than half a page and is left out");
            footer_.clear();
            footerHeight = 0;
        }
    }

    items_ = &galley_;
    const Extent body = LayContainer(*source_.Body(), 0, width, true);
    const double end = body.empty ? 0 : std::max(0.0, body.bottom);
    const double pageHeight =
        std::max(1.0, area_.height() - (footerHeight > 0 ? footerHeight + kFooterGapMm : 0));

    const std::vector<PageRange> ranges = Paginate(end, pageHeight);
    if (ranges.empty()) {
        out_.result = PrintResult::kTooLarge;
        return std::move(out_);
    }
    FillPages(ranges);
    AddFooters(footer_, area_.height() - footerHeight);
    return std::move(out_);
}

// ---- reading the elements ----

ReportLayout::Extent ReportLayout::LayContainer(const TNoxPigger& container, double x0, double width,
                                                bool vertical) {
    Flow flow{x0, width, vertical, 0, x0, Extent{}};
    constexpr size_t kNone = std::numeric_limits<size_t>::max();
    size_t openTable = kNone;
    for (const TNoxPigger* child : container.Children()) {
        const std::string& tag = child->TagName();
        if (tag == "LABEL") {
            LayLabel(*child, flow);
        } else if (tag == "IMAGE") {
            LayImage(*child, flow);
        } else if (tag == "BAND") {
            const size_t items = items_->size(), spans = spans_.size(), tables = tables_.size();
            bool given;
            const double left = Length(*child, "LEFT", &given, ReportLimits::kMaxLengthMm);
            Extent band = LayBand(*child, x0 + left, std::max(0.0, width - left));
            if (band.empty) continue;
            // Keep the parent's frame, but never reach up into what is already placed.
            const double dy = std::max(0.0, flow.cursor - band.top);
            Shift(items, spans, tables, dy);
            band.top += dy;
            band.bottom += dy;
            spans_.push_back({band.top, band.bottom});
            flow.cursor = band.bottom;
            flow.extent.Add(band.top, band.bottom, band.right);
            if (IsYes(child->GetAttr("TABLEHEAD"))) {
                tables_.push_back(
                    {band.top, band.bottom, band.bottom, band.bottom, items, items_->size(), false});
                openTable = tables_.size() - 1;
            } else if (openTable != kNone) {
                Table& t = tables_[openTable];
                if (!t.hasRow) t.firstRowBottom = band.bottom;
                t.hasRow = true;
                t.end = band.bottom;
            }
        } else if (tag == "TABLEEND") {
            if (openTable == kNone) source_.Note("TABLEEND without a table head");
            openTable = kNone;
        } else {
            source_.Note("Unknown element " + tag);
        }
    }
    if (openTable != kNone) source_.Note("A table without TABLEEND");
    return flow.extent;
}

ReportLayout::Extent ReportLayout::LayBand(const TNoxPigger& band, double x0, double width) {
    const std::string arrange = band.GetAttr("ARRANGE");
    const bool vertical = SameTextAscii(arrange, "vertical");
    if (!arrange.empty() && !vertical && !SameTextAscii(arrange, "horizontal"))
        source_.Note("Unknown band arrangement " + arrange);
    Extent e = LayContainer(band, x0, width, vertical);
    bool given;
    const double height = Length(band, "HEIGHT", &given, ReportLimits::kMaxLengthMm);
    if (given) e.Add(0, height, x0);
    if (e.empty) return e;
    // Border lines belong to the band: they widen it rather than cross its content.
    const double right = std::max(e.right, x0);
    const double top = Length(band, "BORDER-TOP", &given, ReportLimits::kMaxBorderMm);
    if (top > 0) {
        e.top -= top;
        AddLine(QLineF(x0, e.top + top / 2, right, e.top + top / 2), top);
    }
    const double bottom = Length(band, "BORDER-BOTTOM", &given, ReportLimits::kMaxBorderMm);
    if (bottom > 0) {
        e.bottom += bottom;
        AddLine(QLineF(x0, e.bottom - bottom / 2, right, e.bottom - bottom / 2), bottom);
    }
    return e;
}

void ReportLayout::LayLabel(const TNoxPigger& label, Flow& flow) {
    std::string bytes = label.GetAttr("TEXT");
    if (bytes.size() > static_cast<size_t>(ReportLimits::kMaxLabelChars)) {
        source_.Note("A label's text is cut short");
        bytes.resize(static_cast<size_t>(ReportLimits::kMaxLabelChars));
    }
    const QString text = LabelText(bytes);
    const int font = Font(label.GetAttr("FONT"));

    std::string align = label.GetAttr("ALIGNMENT");
    if (align.empty()) align = label.GetAttr("ALIGN");
    int hAlign = Qt::AlignLeft;
    if (SameTextAscii(align, "RIGHT"))
        hAlign = Qt::AlignRight;
    else if (SameTextAscii(align, "CENTER"))
        hAlign = Qt::AlignHCenter;
    else if (!align.empty() && !SameTextAscii(align, "LEFT"))
        source_.Note("Unknown alignment " + align);
    const std::string valign = label.GetAttr("VALIGN");
    int vAlign = Qt::AlignTop;
    if (SameTextAscii(valign, "BOTTOM"))
        vAlign = Qt::AlignBottom;
    else if (SameTextAscii(valign, "CENTER"))
        vAlign = Qt::AlignVCenter;
    else if (!valign.empty() && !SameTextAscii(valign, "TOP"))
        source_.Note("Unknown vertical alignment " + valign);
    const bool wrap = IsYes(label.GetAttr("WORDWRAP"));

    bool hasLeft, hasTop, hasWidth, hasHeight;
    const double left = Length(label, "LEFT", &hasLeft, ReportLimits::kMaxLengthMm);
    const double top = Length(label, "TOP", &hasTop, ReportLimits::kMaxLengthMm);
    const double width = Length(label, "WIDTH", &hasWidth, ReportLimits::kMaxLengthMm);
    const double height = Length(label, "HEIGHT", &hasHeight, ReportLimits::kMaxLengthMm);

    const double x = hasLeft ? flow.x0 + left : flow.vertical ? flow.x0 : flow.hx;
    const double room = std::max(0.0, flow.x0 + flow.width - x);
    const QFontMetricsF& fm = Metrics(font);
    const int flags = hAlign | vAlign | Qt::TextExpandTabs;
    const QSizeF natural =
        fm.boundingRect(QRectF(0, 0, kHugeTwips, kHugeTwips), flags, text).size() / kTwipsPerMm;
    // Without a width, an aligned label without a place of its own (a page footer) spans the line, so
    // that its alignment means something; a wrapping one wraps at the edge of the page.
    double w = natural.width();
    if (hasWidth)
        w = width;
    else if ((!hasLeft && hAlign != Qt::AlignLeft) || wrap)
        w = room;
    double textHeight = natural.height();
    if (wrap) {
        const QRectF wrapped =
            fm.boundingRect(QRectF(0, 0, w * kTwipsPerMm, kHugeTwips), flags | Qt::TextWordWrap, text);
        textHeight = wrapped.height() / kTwipsPerMm;
    }
    textHeight = std::max(textHeight, fm.height() / kTwipsPerMm);
    const double y = hasTop ? top : flow.vertical ? flow.cursor : 0;
    // A box too low for its text grows: printed text is never cut off at the bottom.
    const double h = std::max(hasHeight ? height : 0.0, textHeight);
    const QRectF box(x, y, w, h);

    QColor background;
    if (Colour(label, "BGCOLOR", background)) {
        DrawCommand fill;
        fill.kind = DrawCommand::Kind::Fill;
        fill.rect = box;
        fill.color = background;
        AddItem(fill, box.top(), box.bottom());
    }
    QColor foreground(Qt::black);
    Colour(label, "COLOR", foreground);
    if (!text.isEmpty()) {
        DrawCommand run;
        run.kind = DrawCommand::Kind::Text;
        run.rect = box;
        run.text = text;
        run.font = font;
        run.color = foreground;
        run.flags = flags | (wrap ? Qt::TextWordWrap : 0);
        run.clip = hasWidth && !wrap && natural.width() > w + kEps;
        AddItem(run, box.top(), box.bottom());
    }
    bool given;
    const double right = Length(label, "BORDER-RIGHT", &given, ReportLimits::kMaxBorderMm);
    if (right > 0)
        AddLine(QLineF(box.right() - right / 2, box.top(), box.right() - right / 2, box.bottom()), right);
    const double bottom = Length(label, "BORDER-BOTTOM", &given, ReportLimits::kMaxBorderMm);
    if (bottom > 0)
        AddLine(QLineF(box.left(), box.bottom() - bottom / 2, box.right(), box.bottom() - bottom / 2),
                bottom);

    flow.hx = box.right();
    flow.cursor = std::max(flow.cursor, box.bottom());
    flow.extent.Add(box.top(), box.bottom(), box.right());
}

void ReportLayout::LayImage(const TNoxPigger& image, Flow& flow) {
    const int index = Picture(image.GetAttr("NAME"));
    bool hasLeft, hasTop, hasWidth, hasHeight;
    const double left = Length(image, "LEFT", &hasLeft, ReportLimits::kMaxLengthMm);
    const double top = Length(image, "TOP", &hasTop, ReportLimits::kMaxLengthMm);
    double w = Length(image, "WIDTH", &hasWidth, ReportLimits::kMaxLengthMm);
    double h = Length(image, "HEIGHT", &hasHeight, ReportLimits::kMaxLengthMm);
    if (index >= 0) {
        const QSizeF natural = pictureSizes_[static_cast<size_t>(index)];
        const double nw = natural.width(), nh = natural.height();
        // One side given keeps the picture's proportions.
        if (!hasWidth) w = hasHeight ? h * nw / nh : nw;
        if (!hasHeight) h = hasWidth ? w * nh / nw : nh;
        w = std::min(w, ReportLimits::kMaxLengthMm);
        h = std::min(h, ReportLimits::kMaxLengthMm);
    } else if (!hasWidth || !hasHeight) {
        return; // nothing to draw and no room asked for
    }
    const double x = hasLeft ? flow.x0 + left : flow.vertical ? flow.x0 : flow.hx;
    const double y = hasTop ? top : flow.vertical ? flow.cursor : 0;
    const QRectF box(x, y, w, h);
    if (index >= 0) {
        DrawCommand picture;
        picture.kind = DrawCommand::Kind::Image;
        picture.rect = box;
        picture.image = index;
        AddItem(picture, box.top(), box.bottom());
    }
    flow.hx = box.right();
    flow.cursor = std::max(flow.cursor, box.bottom());
    flow.extent.Add(box.top(), box.bottom(), box.right());
}

void ReportLayout::AddItem(const DrawCommand& command, double top, double bottom) {
    items_->push_back({command, top, bottom});
}

void ReportLayout::AddLine(QLineF line, double width) {
    DrawCommand c;
    c.kind = DrawCommand::Kind::Line;
    c.line = line;
    c.penWidth = width;
    c.color = Qt::black;
    // The pen's ends are flat: only the line's sides reach beyond its ends, and only across it.
    const double across = line.length() > 0 ? width / 2 * std::abs(line.dx()) / line.length() : width / 2;
    AddItem(c, std::min(line.y1(), line.y2()) - across, std::max(line.y1(), line.y2()) + across);
}

void ReportLayout::Shift(size_t items, size_t spans, size_t tables, double dy) {
    if (dy == 0) return;
    for (size_t i = items; i < items_->size(); ++i) {
        Item& it = (*items_)[i];
        it.command.rect.translate(0, dy);
        it.command.line.translate(0, dy);
        it.top += dy;
        it.bottom += dy;
    }
    for (size_t i = spans; i < spans_.size(); ++i) {
        spans_[i].top += dy;
        spans_[i].bottom += dy;
    }
    for (size_t i = tables; i < tables_.size(); ++i) {
        Table& t = tables_[i];
        t.headTop += dy;
        t.headBottom += dy;
        t.firstRowBottom += dy;
        t.end += dy;
    }
}

// ---- values ----

double ReportLayout::Length(const TNoxPigger& e, const char* name, bool* given, double max) {
    *given = false;
    const std::string text = e.GetAttr(name);
    if (text.empty()) return 0;
    const std::optional<double> v = ParseNumber(text);
    if (!v) {
        source_.Note(std::string("Not a length: ") + name + "=" + text);
        return 0;
    }
    *given = true;
    if (*v < 0) {
        source_.Note(std::string("A negative length: ") + name + "=" + text);
        return 0;
    }
    if (*v > max) {
        source_.Note(std::string("A length too large: ") + name + "=" + text);
        return max;
    }
    return *v;
}

bool ReportLayout::Colour(const TNoxPigger& e, const char* name, QColor& colour) {
    const std::string text = e.GetAttr(name);
    if (text.empty()) return false;
    const std::optional<QColor> c = ParseColour(text);
    if (!c) {
        source_.Note(std::string("Not a colour: ") + name + "=" + text);
        return false;
    }
    colour = *c;
    return true;
}

int ReportLayout::Font(const std::string& key) {
    if (key.empty()) return 0;
    const std::string upper = AsciiUpper(key);
    if (const auto it = fontIndex_.find(upper); it != fontIndex_.end()) return it->second;
    const TNoxPigger* entry = source_.FindFont(key);
    if (!entry) {
        source_.Note("No font " + key + " in the font table");
        return fontIndex_[upper] = 0;
    }
    QFont font = BaseFont();
    const std::string face = entry->GetAttr("FACE");
    // A face that is not installed is matched by the font system, as any program's would be.
    if (!face.empty())
        font.setFamily(QString::fromLocal8Bit(face.data(), static_cast<qsizetype>(face.size())));
    double points = kDefaultPoints;
    const std::string size = entry->GetAttr("SIZE");
    const std::optional<double> v = ParseNumber(size);
    if (v && *v >= ReportLimits::kMinFontPoints && *v <= ReportLimits::kMaxFontPoints)
        points = *v;
    else
        source_.Note("Font " + key + " has no usable size: " + size);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 20))));
    font.setBold(IsYes(entry->GetAttr("BOLD")));
    font.setItalic(IsYes(entry->GetAttr("ITALIC")));
    font.setUnderline(IsYes(entry->GetAttr("UNDERLINE")));
    font.setStrikeOut(IsYes(entry->GetAttr("STRIKEOUT")));
    out_.fonts.push_back(font);
    return fontIndex_[upper] = static_cast<int>(out_.fonts.size()) - 1;
}

const QFontMetricsF& ReportLayout::Metrics(int font) {
    if (metrics_.size() < out_.fonts.size()) metrics_.resize(out_.fonts.size());
    std::unique_ptr<QFontMetricsF>& m = metrics_[static_cast<size_t>(font)];
    if (!m) m = std::make_unique<QFontMetricsF>(out_.fonts[static_cast<size_t>(font)]);
    return *m;
}

int ReportLayout::Picture(const std::string& name) {
    const std::string upper = AsciiUpper(name);
    if (const auto it = imageIndex_.find(upper); it != imageIndex_.end()) return it->second;
    QImage image = source_.Picture(name);
    if (image.isNull()) return imageIndex_[upper] = -1;
    pictureSizes_.push_back(QSizeF(image.width(), image.height()) * kMmPerPicturePixel);
    // A small picture such as a check box is enlarged pixel by pixel first, so that it stays sharp when
    // smoothed up to a printer's resolution and keeps its thin lines when smoothed down on a screen.
    const int side = std::max(image.width(), image.height());
    if (side < kSharpSide) {
        const int factor = (kSharpSide + side - 1) / side;
        image = image.scaled(image.width() * factor, image.height() * factor, Qt::IgnoreAspectRatio,
                             Qt::FastTransformation);
    }
    out_.images.push_back(image);
    return imageIndex_[upper] = static_cast<int>(out_.images.size()) - 1;
}

// ---- pages ----

namespace {

// The break positions that fall inside none of the protected stretches; both lists sorted.
std::vector<double> FreeBreaks(const std::vector<double>& candidates,
                               std::vector<std::pair<double, double>> kept) {
    std::sort(kept.begin(), kept.end());
    std::vector<std::pair<double, double>> merged;
    for (const auto& k : kept) {
        if (!merged.empty() && k.first < merged.back().second - kEps)
            merged.back().second = std::max(merged.back().second, k.second);
        else
            merged.push_back(k);
    }
    std::vector<double> free;
    size_t m = 0;
    for (double c : candidates) {
        while (m < merged.size() && merged[m].second - kEps <= c)
            ++m;
        if (m < merged.size() && merged[m].first + kEps < c) continue;
        free.push_back(c);
    }
    return free;
}

// The last break after start and not after limit, if any.
std::optional<double> LastBreak(const std::vector<double>& breaks, double start, double limit) {
    auto it = std::upper_bound(breaks.begin(), breaks.end(), limit + kEps);
    if (it == breaks.begin()) return std::nullopt;
    --it;
    if (*it <= start + kEps) return std::nullopt;
    return *it;
}

} // namespace

std::vector<ReportLayout::PageRange> ReportLayout::Paginate(double end, double pageHeight) {
    std::vector<double> candidates{0, end};
    candidates.reserve(galley_.size() * 2 + spans_.size() * 2 + 2);
    for (const Item& it : galley_) {
        candidates.push_back(it.top);
        candidates.push_back(it.bottom);
    }
    for (const Span& s : spans_) {
        candidates.push_back(s.top);
        candidates.push_back(s.bottom);
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    // First choice: break outside every band and piece that fits on a page, and never between a table's
    // head and its first row. Second: outside the pieces only. Last: cut where the page ends.
    std::vector<std::pair<double, double>> pieces, bands;
    for (const Item& it : galley_)
        if (it.bottom - it.top <= pageHeight) pieces.emplace_back(it.top, it.bottom);
    bands = pieces;
    for (const Span& s : spans_)
        if (s.bottom - s.top <= pageHeight) bands.emplace_back(s.top, s.bottom);
    for (const Table& t : tables_)
        if (t.hasRow && t.firstRowBottom - t.headTop <= pageHeight)
            bands.emplace_back(t.headTop, t.firstRowBottom);
    const std::vector<double> good = FreeBreaks(candidates, std::move(bands));
    const std::vector<double> fair = FreeBreaks(candidates, std::move(pieces));

    std::vector<size_t> byTop(tables_.size());
    for (size_t i = 0; i < byTop.size(); ++i)
        byTop[i] = i;
    std::sort(byTop.begin(), byTop.end(),
              [&](size_t a, size_t b) { return tables_[a].headTop < tables_[b].headTop; });
    size_t nextTable = 0;
    std::vector<size_t> open; // tables begun above the page's start

    std::vector<PageRange> ranges;
    double start = 0;
    for (;;) {
        while (nextTable < byTop.size() && tables_[byTop[nextTable]].headTop < start - kEps)
            open.push_back(byTop[nextTable++]);
        std::erase_if(open, [&](size_t t) { return tables_[t].end <= start + kEps; });
        int table = -1;
        double headHeight = 0;
        for (size_t t : open) {
            const Table& tb = tables_[t];
            // A head taller than half a page would leave too little room to be worth repeating.
            if (tb.headBottom <= start + kEps && tb.headBottom - tb.headTop <= pageHeight / 2 &&
                (table < 0 || tb.headTop > tables_[static_cast<size_t>(table)].headTop)) {
                table = static_cast<int>(t);
                headHeight = tb.headBottom - tb.headTop;
            }
        }
        const double limit = start + pageHeight - headHeight;
        if (limit >= end - kEps) {
            ranges.push_back({start, end, table});
            return ranges;
        }
        std::optional<double> cut = LastBreak(good, start, limit);
        if (!cut) cut = LastBreak(fair, start, limit);
        const double stop = cut ? *cut : limit;
        ranges.push_back({start, stop, table});
        if (static_cast<int>(ranges.size()) >= ReportLimits::kMaxPages) return {};
        start = stop;
    }
}

void ReportLayout::FillPages(const std::vector<PageRange>& ranges) {
    std::vector<size_t> byTop(galley_.size());
    for (size_t i = 0; i < byTop.size(); ++i)
        byTop[i] = i;
    std::stable_sort(byTop.begin(), byTop.end(),
                     [&](size_t a, size_t b) { return galley_[a].top < galley_[b].top; });

    out_.pages.resize(ranges.size());
    std::vector<size_t> carried, onPage;
    size_t next = 0;
    for (size_t p = 0; p < ranges.size(); ++p) {
        const PageRange& r = ranges[p];
        const bool last = p + 1 == ranges.size();
        const double stop = last ? std::numeric_limits<double>::infinity() : r.end;
        onPage.swap(carried);
        carried.clear();
        while (next < byTop.size() && galley_[byTop[next]].top < stop - kEps)
            onPage.push_back(byTop[next++]);
        // Painted in the order of the report, whatever their heights.
        std::sort(onPage.begin(), onPage.end());

        LaidPage& page = out_.pages[p];
        double headHeight = 0;
        if (r.table >= 0) {
            const Table& t = tables_[static_cast<size_t>(r.table)];
            headHeight = t.headBottom - t.headTop;
            for (size_t i = t.headBegin; i < t.headEnd; ++i) {
                DrawCommand c = galley_[i].command;
                c.rect.translate(0, -t.headTop);
                c.line.translate(0, -t.headTop);
                page.body.push_back(std::move(c));
            }
        }
        const double dy = headHeight - r.start;
        for (size_t i : onPage) {
            const Item& it = galley_[i];
            if (it.top < r.start - kEps || it.bottom > stop + kEps) page.clipped = true;
            if (it.bottom > stop + kEps) carried.push_back(i);
            DrawCommand c = it.command;
            c.rect.translate(0, dy);
            c.line.translate(0, dy);
            page.body.push_back(std::move(c));
        }
        page.clipTop = headHeight;
        page.clipBottom = headHeight + (r.end - r.start);
    }
}

void ReportLayout::AddFooters(const std::vector<Item>& footer, double footerTop) {
    const QString total = QString::number(out_.pages.size());
    for (size_t p = 0; p < out_.pages.size(); ++p) {
        const QString number = QString::number(p + 1);
        for (const Item& it : footer) {
            DrawCommand c = it.command;
            c.rect.translate(0, footerTop);
            c.line.translate(0, footerTop);
            if (c.kind == DrawCommand::Kind::Text) {
                c.text.replace(QLatin1String("[[PAGES]]"), total);
                c.text.replace(QLatin1String("[[PAGE]]"), number);
            }
            out_.pages[p].footer.push_back(std::move(c));
        }
    }
}
