// The settings dialog's base: owns the settings document and its file for the whole run.
#pragma once

#include "NoxPigger.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <string>

struct WindowRegistry;
class QHBoxLayout;
class QPushButton;
class QTabWidget;
class TF_plugins;

class TD_settings : public QDialog {
    Q_OBJECT
public:
    // Loads the settings file (or starts a fresh one) and creates the plug-ins window.
    explicit TD_settings(WindowRegistry& reg, QWidget* parent = nullptr);
    // Writes the settings file.
    ~TD_settings() override;

    std::unique_ptr<TNoxPigger> SettingsDoc;

    QString SettingsFileName() const { return settingsFileName_; }
    void LoadSettings();
    // Writes the document crash-safely; a failed write changes nothing and is not reported.
    void SaveSettings(const QString& fileName);

    virtual void SettingsToControls();
    virtual void NewSettings();
    virtual TNoxPigger* FindOrAddChild(TNoxPigger* parent, const std::string& tagName);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet_PI = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    TF_plugins* Plugins = nullptr;

protected:
    // The row of buttons under the pages, for a derived dialog's own buttons.
    QHBoxLayout* ButtonRow() const { return buttonRow_; }

    WindowRegistry& reg_;

private:
    void OKBtnClick();
    // Moves a broken settings file out of the way before a fresh one takes its name.
    bool SetAsideBrokenFile(const QString& fileName);

    QString settingsFileName_;
    // A broken file that could not be set aside; it is never written over.
    QString untouchable_;
    QHBoxLayout* buttonRow_ = nullptr;
};
