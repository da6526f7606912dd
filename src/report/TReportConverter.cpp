#include "report/TReportConverter.h"

#include "report/ControlText.h"
#include "report/ReportFiles.h"
#include "report/ReportNames.h"
#include "report/TDataStream.h"
#include "report/TZippedBitmap.h"
#include "todo/rules/TextCodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextEdit>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

// The converter was designed for a toolkit whose controls differ from Qt's widgets. These are the
// meanings its terms have here, decided once for all kinds of control:
// - Control order: a panel's direct child widgets in QObject::children() order (creation order; raise()
//   and lower() move a widget there as in the stacking), labels first (QLabel, pictures included: the
//   controls that had no window of their own), then all the others.
// - Visible: not hidden itself (isHidden()). Templates are hidden panels, so isVisible() says nothing.
// - Sizes itself to its text: a label whose horizontal size policy is QSizePolicy::Fixed, so that it
//   keeps its size hint (call adjustSize() after changing its text). Its width is then left to the
//   report library.
// - Takes its colour from its parent: a label, check box or radio button that does not fill its own
//   background (autoFillBackground() off) and so shows its parent's. Line edits, combo boxes, date edits
//   and text boxes always paint their own field and never take their parent's colour.
// - Transparent: a label whose background brush is fully transparent, so filling it paints nothing.
// - Colours: a label, check box or radio button has the palette colours of its background and
//   foreground roles; a field or text box has Base and Text, the colours of its field.

namespace {

constexpr char kFixedChecked[] =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A101A86CFF5F"
    "06867D40BCA716886D19187602F166590686E5BD0C0CEB8F02E59F02F157883A1006E901E905006C4C"
    "1ABA";
constexpr char kFixedUnchecked[] =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A101A86CFF"
    "5FD230480F482F00FECC1EA3";
constexpr char kFixedRadioOn[] =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF8198018CFFD433307C"
    "9ECFC0F0FE3D03C39D7206861BE60C0C1BA41118C4078983E441EA40EA41FA00B4E81BCA";
constexpr char kFixedRadioOff[] =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF8198018CFFD433307"
    "C9ECFC0F0FE3D03C3FDEF10BCFF3702C3C440F2207520F5207D005BF7212B";

// The label part of a check box or radio button starts this far right of the box.
constexpr int kButtonImageWidth = 18;

std::string Alignment(Qt::Alignment alignment, Qt::LayoutDirection direction) {
    const Qt::Alignment visual = QStyle::visualAlignment(direction, alignment);
    if (visual & Qt::AlignRight) return " ALIGNMENT=\"RIGHT\" ";
    if (visual & Qt::AlignHCenter) return " ALIGNMENT=\"CENTER\" ";
    return " ALIGNMENT=\"LEFT\" ";
}

std::string Background(const QColor& color) {
    return " BGCOLOR=\"" + ColorToText(color) + "\"";
}

std::string TextColor(const QColor& color) {
    return " COLOR=\"" + ColorToText(color) + "\"";
}

std::string Escaped(const QWidget& control, const QString& shown) {
    return MarkupEncode(ControlBytes(control, shown));
}

bool SizesItselfToText(const QLabel& label) {
    return label.sizePolicy().horizontalPolicy() == QSizePolicy::Fixed;
}

bool TakesParentColor(const QWidget& control) {
    return !control.autoFillBackground();
}

bool Transparent(const QWidget& control) {
    return control.palette().color(control.backgroundRole()).alpha() == 0;
}

QColor BackgroundColor(const QWidget& control) {
    return control.palette().color(control.backgroundRole());
}

QColor ForegroundColor(const QWidget& control) {
    return control.palette().color(control.foregroundRole());
}

int FontPoints(const QFont& font) {
    return font.pointSizeF() > 0 ? qRound(font.pointSizeF()) : qRound(QFontInfo(font).pointSizeF());
}

} // namespace

std::string_view FixedPictureHex(FixedPicture picture) {
    switch (picture) {
    case FixedPicture::Checked:
        return kFixedChecked;
    case FixedPicture::Unchecked:
        return kFixedUnchecked;
    case FixedPicture::RadioOn:
        return kFixedRadioOn;
    case FixedPicture::RadioOff:
        return kFixedRadioOff;
    }
    return {};
}

std::string FormatLength(double millimetres) {
    if (!std::isfinite(millimetres)) return "0.00";
    // Pixels times kx often land on an exact half hundredth (12 pixels at 96 dpi are 3.175 mm) that the
    // binary product misses by a hair either way; a nudge away from zero rounds every such tie up.
    const long double nudged = millimetres + std::copysign(1e-9L, millimetres);
    // std::to_chars never looks at a locale, so a German desktop still gets a full stop.
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, nudged, std::chars_format::fixed, 2);
    if (ec != std::errc()) return "0.00";
    std::string out(text, end);
    if (out == "-0.00") out = "0.00";
    return out;
}

std::string FontKey(const QFont& font) {
    std::string key = from_qstring(font.family()) + std::to_string(FontPoints(font));
    if (font.bold()) key += 'B';
    if (font.italic()) key += 'I';
    if (font.underline()) key += 'U';
    if (font.strikeOut()) key += 'S';
    return key;
}

TReportConverter::TReportConverter() {
    fonts_.SetTagName("FONTS");
    printOptions_.SetTagName("PRINT_OPTIONS");
    MeasureScreen();
}

void TReportConverter::MeasureScreen() {
    if (measured_ || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->logicalDotsPerInchX() <= 0 || screen->logicalDotsPerInchY() <= 0) return;
    SetPixelsPerInch(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

void TReportConverter::SetPixelsPerInch(double x, double y) {
    kx_ = 25.4 / x;
    ky_ = 25.4 / y;
    measured_ = true;
}

std::string TReportConverter::Geometry(const QRect& r, bool withWidth) const {
    std::string out = " LEFT=\"" + FormatLength(r.x() * kx_) + "\" TOP=\"" + FormatLength(r.y() * ky_) +
                      "\" HEIGHT=\"" + FormatLength(r.height() * ky_) + "\" ";
    if (withWidth) out += "WIDTH=\"" + FormatLength(r.width() * kx_) + "\" ";
    return out;
}

std::string TReportConverter::Font(const QFont& font) {
    const std::string key = FontKey(font);
    if (!fonts_.FindChildByAttr("NAME", key)) {
        TNoxPigger* entry = fonts_.AddChild("FONT");
        entry->SetAttr("NAME", key);
        entry->SetAttr("SIZE", std::to_string(FontPoints(font)));
        entry->SetAttr("FACE", from_qstring(font.family()));
        // The report library is told one character set for every font.
        entry->SetAttr("CHARSET", "RUSSIAN");
        if (font.bold()) entry->SetAttr("BOLD", "YES");
        if (font.italic()) entry->SetAttr("ITALIC", "YES");
        if (font.underline()) entry->SetAttr("UNDERLINE", "YES");
        if (font.strikeOut()) entry->SetAttr("STRIKEOUT", "YES");
    }
    return " FONT=\"" + MarkupEncode(key) + "\" ";
}

void TReportConverter::BeginReport(TDataStream& buffer) {
    MeasureScreen();
    buffer.Reset();
    fonts_.Clear();
    fonts_.SetTagName("FONTS");
    printOptions_.SetTagName("PRINT_OPTIONS");
    checkImages_ = radioImages_ = false;
    // Pictures of a report that failed half-way must not turn up in the next one.
    pendingImages_.clear();
    buffer.Add("<REPORT>\r\n<BODY>\r\n");
    imageCounter_ = 0;
}

void TReportConverter::AddPanel(const QWidget& panel, TDataStream& buffer) {
    buffer.Add("<band arrange=\"vertical\" left=\"0\">\r\n");
    QList<QWidget*> controls = panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::stable_partition(controls.begin(), controls.end(),
                          [](const QWidget* w) { return qobject_cast<const QLabel*>(w) != nullptr; });
    for (const QWidget* control : controls)
        if (!control->isWindow()) AddControl(*control, buffer);
    buffer.Add("</band>\r\n");
}

void TReportConverter::AddControl(const QWidget& control, TDataStream& buffer) {
    if (control.isHidden()) return;
    // First match wins. Charts (1), data-bound lookup combo boxes (4) and data-bound control grids (10)
    // have no counterpart among this program's widgets and are left out.
    const auto* label = qobject_cast<const QLabel*>(&control);
    if (label && !label->pixmap().isNull()) {
        AddPicture(control, buffer); // 2
    } else if (qobject_cast<const QPlainTextEdit*>(&control) || qobject_cast<const QTextEdit*>(&control)) {
        AddTextBox(control, buffer); // 3
    } else if (const auto* combo = qobject_cast<const QComboBox*>(&control)) {
        AddField(control, combo->currentText(), buffer); // 5
    } else if (qobject_cast<const QCheckBox*>(&control)) {
        AddButton(control, false, buffer); // 6
    } else if (qobject_cast<const QRadioButton*>(&control)) {
        AddButton(control, true, buffer); // 7
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
        AddField(control, edit->text(), buffer); // 8
    } else if (label) {
        AddLabel(control, buffer); // 9
    } else if (qobject_cast<const QTableView*>(&control)) {
        AddTable(control, buffer); // 11
    } else if (const auto* date = qobject_cast<const QDateEdit*>(&control)) {
        AddField(control, QLocale().toString(date->date(), QLocale::ShortFormat), buffer); // 12
    }
}

void TReportConverter::AddLabel(const QWidget& control, TDataStream& buffer) {
    const auto& label = static_cast<const QLabel&>(control);
    std::string out = "<LABEL TEXT=\"" + Escaped(label, label.text()) + "\"";
    out += Alignment(label.alignment(), label.layoutDirection());
    out += Geometry(label.geometry().translated(0, 1), !SizesItselfToText(label));
    out += Font(label.font());
    if (label.wordWrap()) out += "WORDWRAP=\"YES\" ";
    if (!Transparent(label) && !TakesParentColor(label)) out += Background(BackgroundColor(label));
    out += TextColor(ForegroundColor(label));
    out += "/>\r\n";
    buffer.Add(out);
}

void TReportConverter::AddPicture(const QWidget& control, TDataStream& buffer) {
    const auto& label = static_cast<const QLabel&>(control);
    // A picture drawn at its own size into a white bitmap the size of the control; an empty control
    // still gets one pixel, so the report stays whole.
    const QSize size = label.size().expandedTo(QSize(1, 1));
    if (size.width() > TZippedBitmap::kMaxSide || size.height() > TZippedBitmap::kMaxSide ||
        qint64(size.width()) * size.height() * 4 > TZippedBitmap::kMaxPixelBytes)
        throw std::runtime_error("The picture is too large to print");
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPixmap picture = label.pixmap();
    picture.setDevicePixelRatio(1);
    {
        QPainter painter(&image);
        painter.drawPixmap(0, 0, picture);
    }
    const QByteArray stream = TZippedBitmap::Encode(image);
    if (stream.isEmpty()) throw std::runtime_error("The picture cannot be made into a zipped bitmap");

    const std::string name = "__IMG" + std::to_string(imageCounter_);
    pendingImages_ += "<IMAGEDATA NAME=\"" + name + "\">";
    pendingImages_ += HexEncode(std::string_view(stream.constData(), static_cast<size_t>(stream.size())));
    pendingImages_ += "</IMAGEDATA>";
    buffer.Add("<IMAGE NAME=\"" + name + "\"" + Geometry(label.geometry(), true) + "/>\r\n");
    ++imageCounter_;
}

void TReportConverter::AddButton(const QWidget& control, bool radio, TDataStream& buffer) {
    const auto& button = static_cast<const QAbstractButton&>(control);
    const bool on = button.isChecked();
    const char* name = nullptr;
    if (radio) {
        radioImages_ = true;
        name = on ? "__RADIO_ON" : "__RADIO_OFF";
    } else {
        checkImages_ = true;
        name = on ? "__CHECKED" : "__UNCHECKED";
    }
    const QRect r = button.geometry();
    std::string out = std::string("<IMAGE NAME=\"") + name + "\" LEFT=\"" + FormatLength(r.x() * kx_) +
                      "\" TOP=\"" + FormatLength(r.y() * ky_) + "\"/>";
    // The caption starts right of the box; a button narrower than the box gets an empty caption width.
    const QRect caption(r.x() + kButtonImageWidth, r.y(), std::max(0, r.width() - kButtonImageWidth),
                        r.height());
    out += "<LABEL TEXT=\"" + Escaped(button, button.text()) + "\"";
    out += Geometry(caption, true);
    out += Font(button.font());
    if (!TakesParentColor(button)) out += Background(BackgroundColor(button));
    out += TextColor(ForegroundColor(button));
    out += "/>\r\n";
    buffer.Add(out);
}

void TReportConverter::AddTextBox(const QWidget& box, TDataStream& buffer) {
    const std::vector<std::string> lines = LaidOutLines(box);
    if (lines.empty()) return;
    const QPalette& palette = box.palette();
    const std::string head = "<band left=\"0\">\r\n<LABEL VALIGN=\"BOTTOM\"" +
                             Geometry(box.geometry().translated(0, 1), false) + Font(box.font()) +
                             Background(palette.color(QPalette::Base)) +
                             TextColor(palette.color(QPalette::Text));
    for (const std::string& line : lines) {
        buffer.Add(head);
        buffer.Add(" TEXT=\"" + MarkupEncode(line) + "  \"/>\r\n</band>\r\n");
    }
}

void TReportConverter::AddField(const QWidget& field, const QString& text, TDataStream& buffer) {
    const QPalette& palette = field.palette();
    std::string out = "<LABEL TEXT=\"" + Escaped(field, text) + "\"";
    out += Geometry(field.geometry(), true);
    out += Font(field.font());
    out += Background(palette.color(QPalette::Base));
    out += TextColor(palette.color(QPalette::Text));
    out += "/>\r\n";
    buffer.Add(out);
}

void TReportConverter::AddTable(const QWidget& control, TDataStream& buffer) {
    const auto& view = static_cast<const QTableView&>(control);
    QAbstractItemModel* model = view.model();
    const bool across = printOptions_.GetAttr("HLINES") == "Y";
    const bool down = printOptions_.GetAttr("VLINES") == "Y";

    // Columns in the order shown, leaving out hidden ones and those whose title ends with a blank.
    std::vector<int> columns;
    int recordType = -1;
    const QHeaderView* header = view.horizontalHeader();
    for (int visual = 0; model && visual < model->columnCount(); ++visual) {
        const int column = header->logicalIndex(visual);
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        if (recordType < 0 && SameTextAscii(from_qstring(title), "rec_type")) recordType = column;
        if (view.isColumnHidden(column) || (!title.isEmpty() && title.back() == QLatin1Char(' '))) continue;
        columns.push_back(column);
    }
    auto alignment = [&](int column) {
        const QVariant a = model->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole);
        return Alignment(a.isValid() ? Qt::Alignment(a.toInt()) : Qt::AlignLeft, view.layoutDirection());
    };
    auto width = [&](int column) {
        return " WIDTH=\"" + FormatLength(view.columnWidth(column) * kx_) + "\" ";
    };

    buffer.Add("<band left=\"0\" tablehead=\"YES\" border-bottom=\"0.25\">\r\n");
    const QPalette& titles = header->palette();
    for (const int column : columns) {
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        buffer.Add("<LABEL VALIGN=\"BOTTOM\" TEXT=\"" + MarkupEncode(from_qstring(title)) + "  \"" +
                   Font(header->font()) + alignment(column) + width(column) +
                   Background(titles.color(QPalette::Button)) +
                   TextColor(titles.color(QPalette::ButtonText)) + "/>\r\n");
    }
    buffer.Add("</band>\r\n");

    if (model) {
        // A model that fetches rows in batches is read to its end, as long as each batch brings rows.
        for (int rows = model->rowCount(); model->canFetchMore(QModelIndex()); rows = model->rowCount()) {
            model->fetchMore(QModelIndex());
            if (model->rowCount() <= rows) break;
        }
        const QPalette& palette = view.palette();
        const std::string colors =
            Background(palette.color(QPalette::Base)) + TextColor(palette.color(QPalette::Text)) +
            (down ? " BORDER-RIGHT=\"0.25\"" : "") + (across ? " BORDER-BOTTOM=\"0.25\"" : "");
        for (int row = 0; row < model->rowCount(); ++row) {
            if (view.isRowHidden(row)) continue;
            buffer.Add("<band left=\"0\">\r\n");
            QFont font = view.font();
            font.setBold(recordType >= 0 &&
                         model->index(row, recordType).data().toString() == QLatin1String("0"));
            for (const int column : columns) {
                const QModelIndex index = model->index(row, column);
                const QVariant value = index.data();
                const auto* delegate =
                    qobject_cast<const QStyledItemDelegate*>(view.itemDelegateForIndex(index));
                const QString text =
                    delegate ? delegate->displayText(value, view.locale()) : value.toString();
                buffer.Add("<LABEL VALIGN=\"BOTTOM\" TEXT=\"" + MarkupEncode(from_qstring(text)) + "  \"" +
                           Font(font) + alignment(column) + width(column) + colors + "/>\r\n");
            }
            buffer.Add("</band>\r\n");
        }
    }
    buffer.Add("<tableend/>\r\n");
}

void TReportConverter::EndReport(TDataStream& buffer) {
    std::string tail = "</BODY>\r\n<HEAD>\r\n<PAGEFOOTER>\r\n"
                       "<label text=\"Page [[PAGE]] of [[PAGES]]\" align=\"center\" valign=\"top\"/>\r\n"
                       "</PAGEFOOTER>\r\n";
    for (const TNoxPigger* font : fonts_.Children())
        tail += font->GetText();
    fonts_.Clear();
    tail += "</HEAD>\r\n";
    if (checkImages_ || radioImages_ || imageCounter_ > 0 || !pendingImages_.empty()) {
        tail += "<IMAGES>\r\n";
        auto picture = [&tail](const char* name, FixedPicture which) {
            tail += std::string("<IMAGEDATA NAME=\"") + name + "\">";
            tail += FixedPictureHex(which);
            tail += "</IMAGEDATA>";
        };
        if (checkImages_) {
            picture("__CHECKED", FixedPicture::Checked);
            picture("__UNCHECKED", FixedPicture::Unchecked);
        }
        if (radioImages_) {
            picture("__RADIO_ON", FixedPicture::RadioOn);
            picture("__RADIO_OFF", FixedPicture::RadioOff);
        }
        tail += pendingImages_;
        tail += "</IMAGES>\r\n";
    }
    tail += "</REPORT>\r\n";
    buffer.Add(tail);
    pendingImages_.clear();
}

TReportConverter& ReportConverter() {
    static TReportConverter converter;
    return converter;
}

void BeginReport(TDataStream& buffer) {
    ReportConverter().BeginReport(buffer);
}

void AddPanel(const QWidget& panel, TDataStream& buffer) {
    ReportConverter().AddPanel(panel, buffer);
}

void AddControl(const QWidget& control, TDataStream& buffer) {
    ReportConverter().AddControl(control, buffer);
}

void EndReport(TDataStream& buffer) {
    ReportConverter().EndReport(buffer);
}
