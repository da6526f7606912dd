#include "app/TD_settings_user.h"

#include "app/TForm_main.h"
#include "dialogs/TDmsg.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TextCodec.h"
#include "todo/rules/TodoList.h"
#include "ui/TRadioGroup.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowEntries.h"
#include "ui/WindowGeometry.h"
#include "ui/WindowRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// A small picture of an hour grid on the hour grid page; it only decorates.
class HourGridPicture final : public QWidget {
public:
    explicit HourGridPicture(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Image_hour_grid"));
        setFixedSize(92, 76);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect box(2, 2, width() - 10, height() - 10);
        p.fillRect(box.translated(5, 5), QColor(128, 128, 128));
        p.fillRect(box, Qt::white);
        p.setPen(QColor(160, 160, 160));
        for (int y = box.top() + 8; y < box.bottom(); y += 8)
            p.drawLine(box.left() + 1, y, box.right() - 1, y);
        p.setPen(Qt::black);
        const int column = box.left() + box.width() / 4;
        p.drawLine(column, box.top(), column, box.bottom());
        p.drawRect(box);
    }
};

QComboBox* hour_list(const char* name, int first, QWidget* parent) {
    auto* list = named(new QComboBox(parent), name);
    for (int h = first; h <= 23; ++h)
        list->addItem(QStringLiteral("%1").arg(h, 2, 10, QChar(u'0')));
    return list;
}

} // namespace

TD_settings_user::TD_settings_user(WindowRegistry& reg, QWidget* parent) : TD_settings(reg, parent) {
    setObjectName(QStringLiteral("TD_settings_user"));
    OKBtn->setText(QStringLiteral("Close"));
    CancelBtn->hide();
    btn_help = make_button("btn_help", QStringLiteral("Help"), this);
    ButtonRow()->insertWidget(0, btn_help);
    connect(btn_help, &QPushButton::clicked, this, &TD_settings_user::btn_helpClick);

    PageControl1->setTabText(PageControl1->indexOf(TabSheet1), QStringLiteral("Main"));
    BuildMainPage();
    BuildPrintPage();
    BuildHourGridPage();
    PageControl1->insertTab(1, TabSheet_print, QStringLiteral("Print"));
    PageControl1->insertTab(2, TabSheet_hour_grid, QStringLiteral("Hour grid"));
    PageControl1->setCurrentIndex(0);
    SetTabOrder();

    SettingsToControls();
}

TD_settings_user::~TD_settings_user() = default;

void TD_settings_user::BuildMainPage() {
    GB_autosave = named(new QGroupBox(QStringLiteral("Auto save"), TabSheet1), "GB_autosave");
    CB_autosave = named(new QCheckBox(QStringLiteral("Auto save on"), GB_autosave), "CB_autosave");
    Label_autosave_interval =
        make_label("Label_autosave_interval", QStringLiteral("Auto save interval"), GB_autosave);
    SE_autosave = named(new QSpinBox(GB_autosave), "SE_autosave");
    SE_autosave->setRange(Settings::kMinAutoSave, Settings::kMaxAutoSave);
    SE_autosave->setSingleStep(60);
    SE_autosave->setValue(Settings::kDefaultAutoSave);
    SE_autosave->setEnabled(false);
    Label_autosave_interval->setBuddy(SE_autosave);
    Label_autosave_sec = make_label("Label_autosave_sec", QStringLiteral("sec."), GB_autosave);

    auto* interval = new QHBoxLayout;
    interval->addWidget(Label_autosave_interval);
    interval->addWidget(SE_autosave);
    interval->addWidget(Label_autosave_sec);
    interval->addStretch(1);
    auto* autosave = new QVBoxLayout(GB_autosave);
    autosave->addWidget(CB_autosave);
    autosave->addLayout(interval);

    RG_backup = new TRadioGroup(
        QStringLiteral("RG_backup"), QStringLiteral("Make backup file"),
        {QStringLiteral("Never"), QStringLiteral("On exit"), QStringLiteral("On each save")}, TabSheet1);
    RG_backup->SetItemIndex(0);
    CB_remind = named(new QCheckBox(QStringLiteral("Remind me of timed items"), TabSheet1), "CB_remind");
    CB_remind->setChecked(true);

    auto* page = new QVBoxLayout(TabSheet1);
    page->addWidget(GB_autosave);
    page->addWidget(RG_backup);
    page->addWidget(CB_remind);
    page->addStretch(1);

    connect(CB_autosave, &QCheckBox::toggled, this, &TD_settings_user::CB_autosaveClick);
    connect(SE_autosave, &QSpinBox::valueChanged, this, &TD_settings_user::SE_autosaveChange);
    connect(RG_backup, &TRadioGroup::Click, this, &TD_settings_user::RG_backupClick);
    // The user's click only: showing the stored setting writes nothing.
    connect(CB_remind, &QCheckBox::clicked, this, &TD_settings_user::CB_remindClick);
}

void TD_settings_user::BuildPrintPage() {
    TabSheet_print = named(new QWidget, "TabSheet_print");
    O_settings_print1 = named(new QFrame(TabSheet_print), "O_settings_print1");
    auto* page = new QVBoxLayout(TabSheet_print);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(O_settings_print1);
}

void TD_settings_user::BuildHourGridPage() {
    TabSheet_hour_grid = named(new QWidget, "TabSheet_hour_grid");
    Label_hour0 = make_label("Label_hour0", QStringLiteral("First grid hour:"), TabSheet_hour_grid);
    CB_hour0 = hour_list("CB_hour0", 0, TabSheet_hour_grid);
    CB_hour0->setCurrentIndex(Settings::kDefaultFirstGridHour);
    Label_hour0->setBuddy(CB_hour0);
    Label_hour1 = make_label("Label_hour1", QStringLiteral("Last grid hour:"), TabSheet_hour_grid);
    CB_hour1 = hour_list("CB_hour1", 1, TabSheet_hour_grid);
    CB_hour1->setCurrentIndex(Settings::kDefaultLastGridHour - 1);
    Label_hour1->setBuddy(CB_hour1);
    RBG_mode = new TRadioGroup(QStringLiteral("RBG_mode"), QStringLiteral("View mode:"),
                               {QStringLiteral("24 hour"), QStringLiteral("AM / PM")}, TabSheet_hour_grid);
    RBG_mode->SetItemIndex(0);
    RBG_resolution = new TRadioGroup(
        QStringLiteral("RBG_resolution"), QStringLiteral("Resolution:"),
        {QStringLiteral("1 hour"), QStringLiteral("30 min"), QStringLiteral("15 min")}, TabSheet_hour_grid);
    RBG_resolution->SetItemIndex(0);
    Image_hour_grid = new HourGridPicture(TabSheet_hour_grid);

    auto* grid = new QGridLayout(TabSheet_hour_grid);
    grid->addWidget(Label_hour0, 0, 0);
    grid->addWidget(Label_hour1, 0, 1);
    grid->addWidget(CB_hour0, 1, 0);
    grid->addWidget(CB_hour1, 1, 1);
    grid->addWidget(Image_hour_grid, 0, 2, 3, 1, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(RBG_mode, 3, 0);
    grid->addWidget(RBG_resolution, 3, 1);
    grid->setRowMinimumHeight(2, 8);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(4, 1);

    // The user's choice only: selecting the stored hours at start runs no check and writes nothing.
    connect(CB_hour0, &QComboBox::activated, this, &TD_settings_user::CB_hour0Change);
    connect(CB_hour1, &QComboBox::activated, this, &TD_settings_user::CB_hour0Change);
    connect(RBG_mode, &TRadioGroup::Click, this, &TD_settings_user::RBG_modeClick);
    connect(RBG_resolution, &TRadioGroup::Click, this, &TD_settings_user::RBG_resolutionClick);
}

void TD_settings_user::SetTabOrder() {
    QList<QWidget*> order{CB_autosave, SE_autosave};
    for (int i = 0; i < RG_backup->Count(); ++i)
        order.append(static_cast<QWidget*>(RG_backup->Button(i)));
    order << CB_remind;
    // The print page's controls, in the frame's own order.
    for (QWidget* w = O_settings_print1->nextInFocusChain(); O_settings_print1->isAncestorOf(w);
         w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) order.append(w);
    order << CB_hour0 << CB_hour1;
    for (int i = 0; i < RBG_mode->Count(); ++i)
        order.append(static_cast<QWidget*>(RBG_mode->Button(i)));
    for (int i = 0; i < RBG_resolution->Count(); ++i)
        order.append(static_cast<QWidget*>(RBG_resolution->Button(i)));
    order << btn_help << OKBtn;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// Fills the controls from the settings; writes nothing (the stored values are read as the model reads them).
void TD_settings_user::SettingsToControls() {
    const Settings& stored = settings();
    {
        const QSignalBlocker blockCheck(CB_autosave);
        const QSignalBlocker blockValue(SE_autosave);
        CB_autosave->setChecked(stored.AutoSaveSeconds() >= 0);
        SE_autosave->setValue(stored.AutoSaveInterval());
    }
    SE_autosave->setEnabled(CB_autosave->isChecked());
    // The print page works on the print settings element.
    if (printPage_)
        printPage_->AttachPrintSettings(settings().PrintSettingsElement());
    else
        settings().PrintSettingsElement();
    // The first list starts at "00", the last at "01".
    CB_hour0->setCurrentIndex(stored.FirstGridHour());
    CB_hour1->setCurrentIndex(stored.LastGridHour() - 1);
    RBG_mode->SetItemIndex(stored.IsAmPm() ? 1 : 0);
    const int resolution = stored.TimeResolution();
    RBG_resolution->SetItemIndex(resolution == 30 ? 1 : resolution == 15 ? 2 : 0);
    RG_backup->SetItemIndex(stored.BackupMode());
    CB_remind->setChecked(stored.Remind());
    reg_.list.BackupOnSave = stored.BackupMode() == 2;
}

void TD_settings_user::SetPrintSettingsPage(QFrame* frame, PrintSettingsPage* page) {
    frame->setObjectName(QStringLiteral("O_settings_print1"));
    delete TabSheet_print->layout()->replaceWidget(O_settings_print1, frame);
    delete O_settings_print1;
    O_settings_print1 = frame;
    printPage_ = page;
    SetTabOrder();
    printPage_->AttachPrintSettings(settings().PrintSettingsElement());
}

int TD_settings_user::ShowOnPage(Page page) {
    switch (page) {
    case Page::Main:
        PageControl1->setCurrentWidget(TabSheet1);
        break;
    case Page::Print:
        PageControl1->setCurrentWidget(TabSheet_print);
        break;
    case Page::HourGrid:
        PageControl1->setCurrentWidget(TabSheet_hour_grid);
        break;
    }
    return exec();
}

void TD_settings_user::done(int result) {
    // Every way of closing, the close box included.
    reg_.list.BackupOnSave = settings().BackupMode() == 2;
    TD_settings::done(result);
}

QString TD_settings_user::DataFileName() const {
    return settings().DataFileName();
}

void TD_settings_user::SetDataFileName(const QString& fileName) {
    settings().SetDataFileName(fileName);
}

int TD_settings_user::AutoSaveSeconds() const {
    return settings().AutoSaveSeconds();
}

int TD_settings_user::BackupMode() const {
    return settings().BackupMode();
}

int TD_settings_user::FirstGridHour() const {
    return settings().FirstGridHour();
}

int TD_settings_user::LastGridHour() const {
    return settings().LastGridHour();
}

bool TD_settings_user::IsAmPm() const {
    return settings().IsAmPm();
}

int TD_settings_user::TimeResolution() const {
    return settings().TimeResolution();
}

TNoxPigger* TD_settings_user::PrintSettingsElement() {
    return settings().PrintSettingsElement();
}

void TD_settings_user::StoreWindowGeometry(QWidget* mainWindow) {
    store_window_geometry(settings(), mainWindow);
}

void TD_settings_user::ApplyWindowGeometry(QWidget* mainWindow) {
    apply_window_geometry(settings(), mainWindow);
}

void TD_settings_user::CB_autosaveClick() {
    SE_autosave->setEnabled(CB_autosave->isChecked());
    SE_autosaveChange();
}

void TD_settings_user::SE_autosaveChange() {
    settings().SetAutoSave(CB_autosave->isChecked(), SE_autosave->value());
}

void TD_settings_user::RG_backupClick(int index) {
    settings().SetBackupMode(index);
}

void TD_settings_user::CB_remindClick() {
    settings().SetRemind(CB_remind->isChecked());
}

void TD_settings_user::CB_hour0Change() {
    // Two-digit hours compare as texts in their numeric order.
    if (CB_hour0->currentText() > CB_hour1->currentText()) {
        reg_.msg->ShowMessageText(QStringLiteral("END TIME MUST BE MORE THEN BEGIN TIME!"));
        // The first list starts at "00" and the second at "01": the same index is one hour earlier.
        CB_hour0->setCurrentIndex(CB_hour1->currentIndex());
    }
    settings().SetGridHours(CB_hour0->currentIndex(), CB_hour1->currentIndex() + 1);
}

void TD_settings_user::RBG_modeClick(int index) {
    settings().SetAmPm(index == 1);
}

void TD_settings_user::RBG_resolutionClick(int index) {
    settings().SetTimeResolution(index == 1 ? 30 : index == 2 ? 15 : 60);
}

void TD_settings_user::btn_helpClick() {
    reg_.shell->ShowHelp(QStringLiteral("settings"));
}
