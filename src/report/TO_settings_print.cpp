#include "report/TO_settings_print.h"

#include "report/ReportNames.h"
#include "report/TD_print.h"
#include "todo/rules/TextCodec.h"
#include "todo/rules/TodoRules.h"
#include "ui/WidgetHelpers.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kDefaultCharset = 1;
constexpr int kDefaultSize = 8;
// A size beyond any paper is a damaged value, read like a missing one.
constexpr int kLargestSize = 1000;
const char* const kStyles[] = {"BOLD", "ITALIC", "UNDERLINE", "STRIKEOUT"};

// The character set names in the order of the report's table.
const QStringList& charset_names() {
    static const QStringList names{"ANSI",        "DEFAULT", "SYMBOL",     "SHIFTJIS", "GB2312", "HANGEUL",
                                   "CHINESEBIG5", "OEM",     "JOHAB",      "HEBREW",   "ARABIC", "GREEK",
                                   "TURKISH",     "THAI",    "EASTEUROPE", "RUSSIAN",  "MAC",    "BALTIC"};
    return names;
}

bool style_of(const QFont& font, int which) {
    switch (which) {
    case 0:
        return font.bold();
    case 1:
        return font.italic();
    case 2:
        return font.underline();
    default:
        return font.strikeOut();
    }
}

void set_style(QFont& font, int which, bool on) {
    switch (which) {
    case 0:
        font.setBold(on);
        break;
    case 1:
        font.setItalic(on);
        break;
    case 2:
        font.setUnderline(on);
        break;
    default:
        font.setStrikeOut(on);
        break;
    }
}

int point_size(const QFont& font) {
    return font.pointSizeF() > 0 ? qRound(font.pointSizeF()) : qRound(QFontInfo(font).pointSizeF());
}

// The template controls draw their own background in these colours from now on, so the report writes it.
void set_colors(QWidget& control, const QColor& text, const QColor& background) {
    QPalette palette = control.palette();
    for (const QPalette::ColorRole role : {control.foregroundRole(), QPalette::Text})
        palette.setColor(role, text);
    for (const QPalette::ColorRole role : {control.backgroundRole(), QPalette::Base})
        palette.setColor(role, background);
    control.setPalette(palette);
    control.setAutoFillBackground(true);
}

} // namespace

const QStringList& TO_settings_print::AreaNames() {
    static const QStringList names{"HEADER", "TEXT", "DETAIL_HEADER", "DETAIL_TEXT"};
    return names;
}

TO_settings_print::TO_settings_print(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("O_settings_print1"));
    Label1 = make_label("Label1", QStringLiteral("Print settings for:"), this);
    CB_area = named(new QComboBox(this), "CB_area");
    CB_area->addItems(AreaNames());
    Label1->setBuddy(CB_area);

    Shape1 = named(new QFrame(this), "Shape1");
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setAutoFillBackground(true);
    Shape1->setMinimumSize(220, 90);
    Label_font = make_label("Label_font", QStringLiteral("Font example"), Shape1);
    Label_font->setAlignment(Qt::AlignCenter);
    auto* sample = new QVBoxLayout(Shape1);
    sample->addWidget(Label_font);

    Btn_font = make_button("Btn_font", QStringLiteral("Font"), this);
    text_color = make_button("text_color", QStringLiteral("Text color"), this);
    btn_bg_color = make_button("btn_bg_color", QStringLiteral("BG color"), this);
    Label_charset = make_label("Label_charset", QStringLiteral("Character set:"), this);
    CB_charset = named(new QComboBox(this), "CB_charset");
    CB_charset->addItems(charset_names());
    Label_charset->setBuddy(CB_charset);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(CB_area, 0, 1, 1, 2);
    grid->addWidget(Shape1, 1, 0, 4, 2);
    grid->addWidget(Btn_font, 1, 2);
    grid->addWidget(text_color, 2, 2);
    grid->addWidget(btn_bg_color, 3, 2);
    grid->addWidget(Label_charset, 5, 0);
    grid->addWidget(CB_charset, 5, 1, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);

    setTabOrder(CB_area, Btn_font);
    setTabOrder(Btn_font, text_color);
    setTabOrder(text_color, btn_bg_color);
    setTabOrder(btn_bg_color, CB_charset);

    connect(CB_area, &QComboBox::currentIndexChanged, this, &TO_settings_print::CB_areaChange);
    // The user's choice only: showing an area's character set writes nothing.
    connect(CB_charset, &QComboBox::activated, this, &TO_settings_print::CB_charsetChange);
    connect(Btn_font, &QPushButton::clicked, this, &TO_settings_print::Btn_fontClick);
    connect(text_color, &QPushButton::clicked, this, &TO_settings_print::text_colorClick);
    connect(btn_bg_color, &QPushButton::clicked, this, &TO_settings_print::btn_bg_colorClick);
}

TO_settings_print::~TO_settings_print() = default;

void TO_settings_print::AttachPrintSettings(TNoxPigger* printSettings) {
    printSettings_ = printSettings;
    {
        const QSignalBlocker block(CB_area);
        CB_area->setCurrentIndex(0);
    }
    RefreshSample();
}

TNoxPigger* TO_settings_print::AreaElement(TNoxPigger& printSettings, int index) {
    if (index < 0 || index >= AreaNames().size()) return nullptr;
    return todo::find_or_add_child(&printSettings, AreaNames()[index].toStdString());
}

TNoxPigger* TO_settings_print::FontElement(TNoxPigger& area) {
    return todo::find_or_add_child(&area, "FONT");
}

TNoxPigger* TO_settings_print::AreaElement(int index) const {
    return printSettings_ ? AreaElement(*printSettings_, index) : nullptr;
}

TNoxPigger* TO_settings_print::CurrentAreaElement() const {
    return AreaElement(CB_area->currentIndex());
}

void TO_settings_print::ReadFont(const TNoxPigger& fontElement, PrintFont& font) {
    const std::string face = fontElement.GetAttr("FACE");
    if (!face.empty()) font.font.setFamily(to_qstring(face));
    const std::optional<int> size = todo::parse_int(fontElement.GetAttr("SIZE"));
    font.font.setPointSize(size && *size > 0 && *size <= kLargestSize ? *size : kDefaultSize);
    for (int i = 0; i < 4; ++i)
        set_style(font.font, i, AsciiUpper(fontElement.GetAttr(kStyles[i])) == "YES");
    font.charset = CharsetFromName(fontElement.GetAttr("CHARSET"), kDefaultCharset);
}

void TO_settings_print::WriteFont(TNoxPigger& fontElement, const PrintFont& font) {
    fontElement.SetAttr("FACE", from_qstring(font.font.family()));
    fontElement.SetAttr("SIZE", std::to_string(point_size(font.font)));
    for (int i = 0; i < 4; ++i)
        fontElement.SetAttr(kStyles[i], style_of(font.font, i) ? "YES" : "");
    // An empty value removes the attribute: the default set, or one the table has no name for.
    fontElement.SetAttr("CHARSET", font.charset == kDefaultCharset ? "" : CharsetToName(font.charset));
}

std::string TO_settings_print::ColorToText(const QColor& color) {
    return ::ColorToText(color);
}

void TO_settings_print::ApplyPrintSettings(TNoxPigger& printSettings, TD_print& dialog) {
    // One font for all four areas: an area without a face keeps the face of the area before it.
    PrintFont font;
    QWidget* const controls[] = {dialog.Label_title, dialog.CB_label, dialog.Label_memo_title, dialog.Memo1};
    for (int i = 0; i < AreaNames().size(); ++i) {
        TNoxPigger* area = AreaElement(printSettings, i);
        ReadFont(*FontElement(*area), font);
        QWidget& control = *controls[i];
        control.setFont(font.font);
        set_colors(control, ColorFromText(area->GetAttr("COLOR"), Qt::black),
                   ColorFromText(area->GetAttr("BGCOLOR"), Qt::white));
    }
}

void TO_settings_print::RefreshSample() {
    TNoxPigger* area = CurrentAreaElement();
    PrintFont font;
    if (area) ReadFont(*FontElement(*area), font);
    Label_font->setFont(font.font);
    const QColor background = ColorFromText(area ? area->GetAttr("BGCOLOR") : "", Qt::white);
    const QColor text = ColorFromText(area ? area->GetAttr("COLOR") : "", Qt::black);
    QPalette shape = Shape1->palette();
    shape.setColor(Shape1->backgroundRole(), background);
    Shape1->setPalette(shape);
    QPalette label = Label_font->palette();
    label.setColor(Label_font->foregroundRole(), text);
    Label_font->setPalette(label);
    const QSignalBlocker block(CB_charset);
    CB_charset->setCurrentText(to_qstring(CharsetToName(font.charset)));
}

QColor TO_settings_print::SampleTextColor() const {
    return Label_font->palette().color(Label_font->foregroundRole());
}

QColor TO_settings_print::SampleBackground() const {
    return Shape1->palette().color(Shape1->backgroundRole());
}

void TO_settings_print::CB_areaChange() {
    RefreshSample();
}

void TO_settings_print::CB_charsetChange() {
    TNoxPigger* area = CurrentAreaElement();
    if (!area) return;
    const int charset = CharsetFromName(from_qstring(CB_charset->currentText()), kDefaultCharset);
    FontElement(*area)->SetAttr("CHARSET", charset == kDefaultCharset ? "" : CharsetToName(charset));
    RefreshSample();
}

void TO_settings_print::Btn_fontClick() {
    TNoxPigger* area = CurrentAreaElement();
    if (!area) return;
    TNoxPigger* element = FontElement(*area);
    PrintFont font;
    ReadFont(*element, font);
    // The choosers are made when first needed: building their lists would slow every start.
    if (!FontDialog1) FontDialog1 = named(new QFontDialog(this), "FontDialog1");
    FontDialog1->setCurrentFont(font.font);
    if (FontDialog1->exec() == QDialog::Accepted) {
        font.font = FontDialog1->selectedFont();
        WriteFont(*element, font);
    }
    RefreshSample();
}

void TO_settings_print::ChooseColor(const char* attribute, const QColor& start) {
    TNoxPigger* area = CurrentAreaElement();
    if (!area) return;
    if (!ColorDialog1) ColorDialog1 = named(new QColorDialog(this), "ColorDialog1");
    ColorDialog1->setCurrentColor(start);
    if (ColorDialog1->exec() == QDialog::Accepted)
        area->SetAttr(attribute, ColorToText(ColorDialog1->selectedColor()));
    RefreshSample();
}

void TO_settings_print::text_colorClick() {
    ChooseColor("COLOR", SampleTextColor());
}

void TO_settings_print::btn_bg_colorClick() {
    ChooseColor("BGCOLOR", SampleBackground());
}
