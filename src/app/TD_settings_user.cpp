#include "TD_settings_user.h"

#include "TDmsg.h"
#include "TForm_main.h"
#include "TRadioGroup.h"
#include "TextCodec.h"
#include "WindowRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace {
constexpr int kDefaultAutoSave = 240;
constexpr int kMinAutoSave = 60;
constexpr int kMaxAutoSave = 600;
constexpr int kDefaultFirstHourIndex = 7; // "07"
constexpr int kDefaultLastHourIndex = 21; // "22"

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

QString attr(const TNoxPigger& e, const char* name) {
    return to_qstring(e.GetAttr(name));
}

void set_attr(TNoxPigger& e, const char* name, const QString& value) {
    e.SetAttr(name, from_qstring(value));
}

// The stored integer, or nothing when the text is not one.
std::optional<int> int_attr(const TNoxPigger& e, const char* name) {
    bool ok = false;
    const int v = attr(e, name).trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

QComboBox* hour_list(const QString& name, int first, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (int h = first; h <= 23; ++h)
        list->addItem(QStringLiteral("%1").arg(h, 2, 10, QChar(u'0')));
    return list;
}

void select_hour(QComboBox* list, const QString& text, int fallback) {
    const int i = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    list->setCurrentIndex(i >= 0 ? i : fallback);
}

// Unlike std::clamp, a range that came out empty gives its lower end instead of undefined behaviour.
int bounded(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}
} // namespace

TD_settings_user::TD_settings_user(WindowRegistry& reg, QWidget* parent) : TD_settings(reg, parent) {
    setObjectName(QStringLiteral("TD_settings_user"));
    OKBtn->setText(QStringLiteral("Close"));
    CancelBtn->hide();
    btn_help = new QPushButton(QStringLiteral("Help"), this);
    btn_help->setObjectName(QStringLiteral("btn_help"));
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
    reg_.settings = this;
}

TD_settings_user::~TD_settings_user() {
    if (reg_.settings == this) reg_.settings = nullptr;
}

void TD_settings_user::BuildMainPage() {
    GB_autosave = new QGroupBox(QStringLiteral("Auto save"), TabSheet1);
    GB_autosave->setObjectName(QStringLiteral("GB_autosave"));
    CB_autosave = new QCheckBox(QStringLiteral("Auto save on"), GB_autosave);
    CB_autosave->setObjectName(QStringLiteral("CB_autosave"));
    Label_autosave_interval =
        label(QStringLiteral("Label_autosave_interval"), QStringLiteral("Auto save interval"), GB_autosave);
    SE_autosave = new QSpinBox(GB_autosave);
    SE_autosave->setObjectName(QStringLiteral("SE_autosave"));
    SE_autosave->setRange(kMinAutoSave, kMaxAutoSave);
    SE_autosave->setSingleStep(60);
    SE_autosave->setValue(kDefaultAutoSave);
    SE_autosave->setEnabled(false);
    Label_autosave_interval->setBuddy(SE_autosave);
    Label_autosave_sec = label(QStringLiteral("Label_autosave_sec"), QStringLiteral("sec."), GB_autosave);

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

    auto* page = new QVBoxLayout(TabSheet1);
    page->addWidget(GB_autosave);
    page->addWidget(RG_backup);
    page->addStretch(1);

    connect(CB_autosave, &QCheckBox::toggled, this, &TD_settings_user::CB_autosaveClick);
    connect(SE_autosave, &QSpinBox::valueChanged, this, &TD_settings_user::SE_autosaveChange);
    connect(RG_backup, &TRadioGroup::Click, this, &TD_settings_user::RG_backupClick);
}

void TD_settings_user::BuildPrintPage() {
    TabSheet_print = new QWidget;
    TabSheet_print->setObjectName(QStringLiteral("TabSheet_print"));
    O_settings_print1 = new QFrame(TabSheet_print);
    O_settings_print1->setObjectName(QStringLiteral("O_settings_print1"));
    auto* page = new QVBoxLayout(TabSheet_print);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(O_settings_print1);
}

void TD_settings_user::BuildHourGridPage() {
    TabSheet_hour_grid = new QWidget;
    TabSheet_hour_grid->setObjectName(QStringLiteral("TabSheet_hour_grid"));
    Label_hour0 =
        label(QStringLiteral("Label_hour0"), QStringLiteral("First grid hour:"), TabSheet_hour_grid);
    CB_hour0 = hour_list(QStringLiteral("CB_hour0"), 0, TabSheet_hour_grid);
    CB_hour0->setCurrentIndex(kDefaultFirstHourIndex);
    Label_hour0->setBuddy(CB_hour0);
    Label_hour1 = label(QStringLiteral("Label_hour1"), QStringLiteral("Last grid hour:"), TabSheet_hour_grid);
    CB_hour1 = hour_list(QStringLiteral("CB_hour1"), 1, TabSheet_hour_grid);
    CB_hour1->setCurrentIndex(kDefaultLastHourIndex);
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
    order << CB_hour0 << CB_hour1;
    for (int i = 0; i < RBG_mode->Count(); ++i)
        order.append(static_cast<QWidget*>(RBG_mode->Button(i)));
    for (int i = 0; i < RBG_resolution->Count(); ++i)
        order.append(static_cast<QWidget*>(RBG_resolution->Button(i)));
    order << btn_help << OKBtn;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TD_settings_user::SettingsToControls() {
    // 1. Automatic save: a stored interval is limited to its range and written back as shown.
    const QString stored = attr(Doc(), "AUTO_SAVE_TIME");
    int seconds = kDefaultAutoSave;
    if (!stored.isEmpty()) {
        bool ok = false;
        const qlonglong v = stored.trimmed().toLongLong(&ok);
        if (ok) seconds = static_cast<int>(std::clamp<qlonglong>(v, kMinAutoSave, kMaxAutoSave));
    }
    {
        const QSignalBlocker blockCheck(CB_autosave);
        const QSignalBlocker blockValue(SE_autosave);
        CB_autosave->setChecked(!stored.isEmpty());
        SE_autosave->setValue(seconds);
    }
    CB_autosaveClick();
    // 2. The print page works on the print settings element.
    PrintSettingsElement();
    // 3. Hours: anything but one of the list texts counts as absent.
    select_hour(CB_hour0, attr(Doc(), "H0"), kDefaultFirstHourIndex);
    select_hour(CB_hour1, attr(Doc(), "H1"), kDefaultLastHourIndex);
    // 4.-6. Unknown values are shown as the first choice and stay in the document until the user chooses.
    RBG_mode->SetItemIndex(attr(Doc(), "AMPM") == u"Y" ? 1 : 0);
    const QString resolution = attr(Doc(), "TIME_RESOLUTION");
    RBG_resolution->SetItemIndex(resolution == u"30" ? 1 : resolution == u"15" ? 2 : 0);
    const QString backup = attr(Doc(), "BACKUP_MODE");
    RG_backup->SetItemIndex(backup == u"1" ? 1 : backup == u"2" ? 2 : 0);
    // 7.
    UpdateBackupOnSave();
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
    UpdateBackupOnSave();
    TD_settings::done(result);
}

void TD_settings_user::UpdateBackupOnSave() {
    if (reg_.shell) reg_.shell->BackupOnSave = (BackupMode() == 2);
}

QString TD_settings_user::DataFileName() const {
    return attr(Doc(), "DATA_FILE_NAME");
}

void TD_settings_user::SetDataFileName(const QString& fileName) {
    set_attr(Doc(), "DATA_FILE_NAME", fileName);
    SaveSettings(SettingsFileName());
}

int TD_settings_user::AutoSaveSeconds() const {
    return CB_autosave->isChecked() ? SE_autosave->value() : -1;
}

int TD_settings_user::BackupMode() const {
    return std::max(RG_backup->ItemIndex(), 0);
}

int TD_settings_user::FirstGridHour() const {
    return CB_hour0->currentText().toInt();
}

int TD_settings_user::LastGridHour() const {
    return CB_hour1->currentText().toInt();
}

bool TD_settings_user::IsAmPm() const {
    return RBG_mode->ItemIndex() == 1;
}

int TD_settings_user::TimeResolution() const {
    switch (RBG_resolution->ItemIndex()) {
    case 1:
        return 30;
    case 2:
        return 15;
    default:
        return 60;
    }
}

TNoxPigger* TD_settings_user::PrintSettingsElement() {
    return FindOrAddChild(SettingsDoc.get(), "PRINT_SETTINGS");
}

// Left and top are those of the window's client area, as its size is: before a window is first shown
// its frame is unknown, so frame coordinates would move it by the title bar's height on every start.
void TD_settings_user::StoreWindowGeometry(QWidget* mainWindow) {
    if (!mainWindow) return;
    QRect client = mainWindow->geometry();
    if (mainWindow->isMaximized()) {
        // The window manager may take its time to restore the window; its normal geometry is known now.
        const QRect normal = mainWindow->normalGeometry();
        mainWindow->showNormal();
        if (normal.isValid()) client = normal;
    }
    set_attr(Doc(), "WIDTH", QString::number(client.width()));
    set_attr(Doc(), "HEIGHT", QString::number(client.height()));
    set_attr(Doc(), "LEFT", QString::number(client.x()));
    set_attr(Doc(), "TOP", QString::number(client.y()));
}

void TD_settings_user::ApplyWindowGeometry(QWidget* mainWindow) {
    // A maximized window keeps its state: it is applied again on every activation.
    if (!mainWindow ||
        (mainWindow->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        return;
    const auto top = int_attr(Doc(), "TOP");
    const auto left = int_attr(Doc(), "LEFT");
    const auto height = int_attr(Doc(), "HEIGHT");
    const auto width = int_attr(Doc(), "WIDTH");
    QSize size = mainWindow->size();
    if (height) size.setHeight(*height);
    if (width) size.setWidth(*width);
    QPoint pos = mainWindow->geometry().topLeft();
    if (top) pos.setY(*top);
    if (left) pos.setX(*left);

    // A file edited by hand or written on a larger desktop must not make the window huge or lose it off
    // the screens: keep it no larger than the desktop and its top edge where it can be grabbed.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableVirtualGeometry();
        size = size.boundedTo(desk.size());
        constexpr int kGrab = 48;
        pos.setX(bounded(pos.x(), desk.left() - size.width() + kGrab, desk.right() - kGrab));
        pos.setY(bounded(pos.y(), desk.top(), desk.bottom() - kGrab));
    }
    if (top || left)
        mainWindow->setGeometry(QRect(pos, size));
    else if (height || width)
        mainWindow->resize(size);
}

void TD_settings_user::CB_autosaveClick() {
    SE_autosave->setEnabled(CB_autosave->isChecked());
    SE_autosaveChange();
}

void TD_settings_user::SE_autosaveChange() {
    if (CB_autosave->isChecked())
        set_attr(Doc(), "AUTO_SAVE_TIME", QString::number(SE_autosave->value()));
    else
        Doc().DeleteAttr("AUTO_SAVE_TIME");
}

void TD_settings_user::RG_backupClick(int index) {
    set_attr(Doc(), "BACKUP_MODE", QString::number(index));
}

void TD_settings_user::CB_hour0Change() {
    // Two-digit hours compare as texts in their numeric order.
    if (CB_hour0->currentText() > CB_hour1->currentText()) {
        if (reg_.msg) reg_.msg->ShowMessageText(QStringLiteral("END TIME MUST BE MORE THEN BEGIN TIME!"));
        // The first list starts at "00" and the second at "01": the same index is one hour earlier.
        CB_hour0->setCurrentIndex(CB_hour1->currentIndex());
    }
    set_attr(Doc(), "H0", CB_hour0->currentText());
    set_attr(Doc(), "H1", CB_hour1->currentText());
}

void TD_settings_user::RBG_modeClick(int index) {
    if (index == 1)
        Doc().SetAttr("AMPM", "Y");
    else
        Doc().DeleteAttr("AMPM");
}

void TD_settings_user::RBG_resolutionClick(int index) {
    if (index == 1)
        Doc().SetAttr("TIME_RESOLUTION", "30");
    else if (index == 2)
        Doc().SetAttr("TIME_RESOLUTION", "15");
    else
        Doc().DeleteAttr("TIME_RESOLUTION");
}

void TD_settings_user::btn_helpClick() {
    if (reg_.shell) reg_.shell->ShowHelp(QStringLiteral("settings"));
}
