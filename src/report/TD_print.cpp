#include "report/TD_print.h"

#include "app/TD_settings_user.h"
#include "app/TForm_main.h"
#include "report/ControlText.h"
#include "report/ReportFiles.h"
#include "report/TDataStream.h"
#include "report/TO_settings_print.h"
#include "report/TReportConverter.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoList.h"
#include "todo/rules/TodoRules.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <exception>
#include <stdexcept>

namespace {

// A label of the templates that takes the size of its text.
QLabel* template_label(const char* name, QWidget* panel, int left, int top) {
    QLabel* label = make_label(name, QString(), panel);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    label->move(left, top);
    return label;
}

void set_caption(QLabel& label, const std::string& bytes) {
    SetControlBytes(label, bytes);
    label.adjustSize();
}

// Nothing printable: only blanks and control characters.
bool blank(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

} // namespace

TD_print::TD_print(WindowRegistry& reg, QWidget* parent) : QDialog(parent), reg_(reg) {
    setObjectName(QStringLiteral("D_print"));
    setWindowTitle(QStringLiteral("Print"));
    setModal(true);
    ShowError = [this](const QString& text) {
        QMessageBox::warning(isVisible() ? this : nullptr, QStringLiteral("Quillmarch"), text);
    };
    Library.ShowMessage = [this](const QString& text) { ShowError(text); };

    GB_range = named(new QGroupBox(this), "GB_range");
    RB_date = named(new QRadioButton(QStringLiteral("Current date"), GB_range), "RB_date");
    RB_current = named(new QRadioButton(QStringLiteral("Current item"), GB_range), "RB_current");
    RB_date->setChecked(true);
    auto* range = new QVBoxLayout(GB_range);
    range->addWidget(RB_date);
    range->addWidget(RB_current);

    GB_options = named(new QGroupBox(this), "GB_options");
    CB_item_text = named(new QCheckBox(QStringLiteral("Print item text"), GB_options), "CB_item_text");
    CB_item_text->setChecked(true);
    CB_Description = named(new QCheckBox(QStringLiteral("Print description"), GB_options), "CB_Description");
    options_ = new QVBoxLayout(GB_options);
    options_->addWidget(CB_item_text);
    options_->addWidget(CB_Description);

    OKBtn = make_button("OKBtn", QStringLiteral("Print"), this);
    OKBtn->setDefault(true);
    CancelBtn = make_button("CancelBtn", QStringLiteral("Close"), this);
    Btn_settings = make_button("Btn_settings", QStringLiteral("Settings..."), this);
    Btn_help = make_button("Btn_help", QStringLiteral("Help"), this);

    auto* groups = new QVBoxLayout;
    groups->addWidget(GB_range);
    groups->addWidget(GB_options);
    groups->addStretch(1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {OKBtn, CancelBtn, Btn_settings, Btn_help})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(RB_date, RB_current);
    setTabOrder(RB_current, CB_item_text);
    setTabOrder(CB_item_text, CB_Description);
    setTabOrder(CB_Description, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, Btn_settings);
    setTabOrder(Btn_settings, Btn_help);

    BuildTemplates();

    connect(OKBtn, &QPushButton::clicked, this, &TD_print::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Btn_settings, &QPushButton::clicked, this, &TD_print::Btn_settingsClick);
    connect(Btn_help, &QPushButton::clicked, this, &TD_print::Btn_helpClick);
    connect(&reg_.list, &TodoList::AboutToReplace, this, [this] {
        if (isVisible()) reject();
        Forget();
    });
}

TD_print::~TD_print() = default;

void TD_print::BuildTemplates() {
    // Hidden panels whose controls the report converter takes over as they stand.
    Panel_title = named(new QWidget(this), "Panel_title");
    Label_title = template_label("Label_title", Panel_title, 7, 7);

    Panel_label = named(new QWidget(this), "Panel_label");
    CB_label = named(new QCheckBox(Panel_label), "CB_label");
    CB_label->setGeometry(7, 0, 700, 17);

    Panel_memo = named(new QWidget(this), "Panel_memo");
    Label_memo_title = template_label("Label_memo_title", Panel_memo, 28, 0);
    Memo1 = named(new QPlainTextEdit(Panel_memo), "Memo1");
    Memo1->setGeometry(28, 14, 600, 22);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    for (QWidget* panel : {Panel_title, Panel_label, Panel_memo})
        panel->hide();
}

bool TD_print::Prepare(TNoxPigger* day, TNoxPigger* item) {
    day_ = day;
    item_ = day ? item : nullptr;
    return day != nullptr;
}

void TD_print::Forget() {
    day_ = nullptr;
    item_ = nullptr;
}

void TD_print::Execute(TNoxPigger* day, TNoxPigger* item) {
    if (!Prepare(day, item)) return;
    if (QScreen* screen = QApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
    // The first option, so that Enter prints at once and the arrows and Tab reach every choice.
    if (!GB_range->isHidden())
        (RB_date->isChecked() ? RB_date : RB_current)->setFocus();
    else if (QWidget* first = options_->itemAt(0)->widget())
        first->setFocus();
    exec();
    Forget();
}

void TD_print::StartReport(TDataStream& buffer) {
    if (TNoxPigger* settings = reg_.settings.PrintSettingsElement())
        TO_settings_print::ApplyPrintSettings(*settings, *this);
    BeginReport(buffer);
}

void TD_print::FinishReport(TDataStream& buffer, const std::string& fileName) {
    EndReport(buffer);
    WriteTextFile(fileName, buffer.Extract(0));
}

void TD_print::AddTitle(const std::string& caption, TDataStream& buffer) {
    set_caption(*Label_title, caption);
    AddPanel(*Panel_title, buffer);
}

void TD_print::BuildReport(const std::string& fileName) {
    TDataStream buffer;
    StartReport(buffer);
    AddTitle(day_ ? day_->GetAttr(todo::kDateAttr) : std::string(), buffer);
    if (RB_date->isChecked()) {
        if (day_)
            for (const TNoxPigger* child : day_->Children())
                AddItem(*child, buffer);
    } else if (item_) {
        AddItem(*item_, buffer);
    }
    FinishReport(buffer, fileName);
}

void TD_print::AddItem(const TNoxPigger& item, TDataStream& buffer) {
    if (item.TagName() != todo::kItemTag) return;
    if (CB_item_text->isChecked()) {
        SetControlBytes(*CB_label, item.GetAttr(todo::kCaptionAttr));
        CB_label->setChecked(todo::is_done_in_reports(item));
        AddPanel(*Panel_label, buffer);
    }
    if (CB_Description->isChecked()) {
        Label_memo_title->clear();
        if (const TNoxPigger* description = item.FindChild(todo::kDescriptionTag)) {
            SetControlBytes(*Memo1, description->Text);
            if (!blank(description->Text)) {
                set_caption(*Label_memo_title, "Description:");
                AddPanel(*Panel_memo, buffer);
            }
        }
    }
}

void TD_print::OKBtnClick() {
    // The library may let the user interface run while it works; a second press waits for the first.
    if (printing_) return;
    printing_ = true;
    // Not the current folder, which may be unwritable or shared: a folder only this user can enter.
    QTemporaryDir folder(QDir(QDir::tempPath()).filePath(QStringLiteral("quillmarch-print-XXXXXX")));
    const QString file = folder.filePath(QStringLiteral("tmp.r"));
    try {
        if (!folder.isValid())
            throw std::runtime_error(
                ("Cannot create a folder for the report in " + QDir::tempPath() + ": " + folder.errorString())
                    .toStdString());
        BuildReport(QFile::encodeName(file).toStdString());
        PrintReportFile(QFile::encodeName(file).toStdString(), 0);
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    }
    if (folder.isValid()) QFile::remove(file);
    printing_ = false;
}

int32_t TD_print::PrintReportFile(const std::string& fileName, int32_t option) {
    return Library.PrintReportFile(QByteArray::fromStdString(fileName), option);
}

void TD_print::Btn_settingsClick() {
    if (reg_.settingsDialog) reg_.settingsDialog->ShowOnPage(TD_settings_user::Page::Print);
}

void TD_print::Btn_helpClick() {
    if (reg_.shell) reg_.shell->ShowHelp(QStringLiteral("print"));
}
