#include "app/TD_settings.h"

#include "dialogs/TF_plugins.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoRules.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowRegistry.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TD_settings::TD_settings(WindowRegistry& reg, QWidget* parent) : QDialog(parent), reg_(reg) {
    setObjectName(QStringLiteral("TD_settings"));
    setWindowTitle(QStringLiteral("Settings"));

    PageControl1 = named(new QTabWidget(this), "PageControl1");
    TabSheet1 = named(new QWidget, "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral("main"));
    TabSheet_PI = named(new QWidget, "TabSheet_PI");
    PageControl1->addTab(TabSheet_PI, QStringLiteral("Plugins"));

    OKBtn = make_button("OKBtn", QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = make_button("CancelBtn", QStringLiteral("Cancel"), this);
    buttonRow_ = button_row({OKBtn, CancelBtn}, RowAlign::Right);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttonRow_);
    // A fixed border: the dialog takes the size its pages need.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, &TD_settings::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    Plugins = new TF_plugins(reg_, this);
}

TD_settings::~TD_settings() = default;

Settings& TD_settings::settings() const {
    return reg_.settings;
}

TNoxPigger* TD_settings::SettingsDoc() const {
    return &settings().Doc();
}

QString TD_settings::SettingsFileName() const {
    return settings().FileName();
}

void TD_settings::LoadSettings() {
    settings().Load();
}

void TD_settings::SaveSettings() {
    settings().Save();
}

void TD_settings::SettingsToControls() {}

void TD_settings::NewSettings() {
    settings().NewSettings();
}

TNoxPigger* TD_settings::FindOrAddChild(TNoxPigger* parent, const std::string& tagName) {
    return todo::find_or_add_child(parent, tagName);
}

void TD_settings::OKBtnClick() {
    SaveSettings();
    accept();
}
