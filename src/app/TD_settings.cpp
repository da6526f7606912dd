#include "TD_settings.h"

#include "AppPaths.h"
#include "TF_plugins.h"
#include "WindowRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
std::string native_path(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}
} // namespace

TD_settings::TD_settings(WindowRegistry& reg, QWidget* parent)
    : QDialog(parent), reg_(reg), settingsFileName_(settings_file(reg)) {
    setObjectName(QStringLiteral("TD_settings"));
    setWindowTitle(QStringLiteral("Settings"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("main"));
    TabSheet_PI = new QWidget;
    TabSheet_PI->setObjectName(QStringLiteral("TabSheet_PI"));
    PageControl1->addTab(TabSheet_PI, QStringLiteral("Plugins"));

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    buttonRow_ = new QHBoxLayout;
    buttonRow_->addStretch(1);
    buttonRow_->addWidget(OKBtn);
    buttonRow_->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttonRow_);
    // A fixed border: the dialog takes the size its pages need.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, &TD_settings::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    SettingsDoc = std::make_unique<TNoxPigger>();
    LoadSettings();
    Plugins = new TF_plugins(reg_, this);
}

TD_settings::~TD_settings() {
    SaveSettings(SettingsFileName());
}

void TD_settings::LoadSettings() {
    const QString name = SettingsFileName();
    try {
        SettingsDoc->LoadFromFile(native_path(name));
        // An empty file parses to a root without a tag, which would never be written back.
        if (!SettingsDoc->TagName().empty()) return;
    } catch (...) {
        // Missing, unreadable or broken: start fresh below.
    }
    if (!SetAsideBrokenFile(name)) untouchable_ = name;
    NewSettings();
    SaveSettings(name);
}

bool TD_settings::SetAsideBrokenFile(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isFile() || info.size() == 0) return true; // nothing of the user's to keep
    for (int i = 1; i < 1000; ++i) {
        const QString aside = fileName + (i == 1 ? QStringLiteral(".bad") : QStringLiteral(".bad%1").arg(i));
        if (QFileInfo::exists(aside)) continue;
        return QFile::rename(fileName, aside);
    }
    return false;
}

void TD_settings::SaveSettings(const QString& fileName) {
    if (!untouchable_.isEmpty() && QFileInfo(fileName) == QFileInfo(untouchable_)) return;
    try {
        SettingsDoc->SaveToFile(native_path(fileName));
    } catch (...) {
        // The settings stay in memory and are written again at the next save moment.
    }
}

void TD_settings::SettingsToControls() {}

void TD_settings::NewSettings() {
    SettingsDoc->Clear();
    SettingsDoc->SetTagName("SETTINGS");
}

TNoxPigger* TD_settings::FindOrAddChild(TNoxPigger* parent, const std::string& tagName) {
    if (!parent) return nullptr;
    if (TNoxPigger* child = parent->FindChild(tagName)) return child;
    return parent->AddChild(tagName);
}

void TD_settings::OKBtnClick() {
    SaveSettings(SettingsFileName());
    accept();
}
