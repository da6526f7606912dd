// The settings dialog's base: pages and buttons over the settings of the registry, which own the
// settings document and its file. The document's operations keep their names here as forwards.
#pragma once

#include "markup/NoxPigger.h"

#include <QDialog>
#include <QString>
#include <string>

struct WindowRegistry;
class QHBoxLayout;
class QPushButton;
class QTabWidget;
class Settings;
class TF_plugins;

class TD_settings : public QDialog {
    Q_OBJECT
public:
    // Creates the pages and the plug-ins window; the settings are loaded already.
    explicit TD_settings(WindowRegistry& reg, QWidget* parent = nullptr);
    ~TD_settings() override;

    TNoxPigger* SettingsDoc() const;
    QString SettingsFileName() const;
    void LoadSettings();
    void SaveSettings();

    virtual void SettingsToControls();
    void NewSettings();
    TNoxPigger* FindOrAddChild(TNoxPigger* parent, const std::string& tagName);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet_PI = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    TF_plugins* Plugins = nullptr;

protected:
    // The row of buttons under the pages, for a derived dialog's own buttons.
    QHBoxLayout* ButtonRow() const { return buttonRow_; }
    Settings& settings() const;

    WindowRegistry& reg_;

private:
    void OKBtnClick();

    QHBoxLayout* buttonRow_ = nullptr;
};
