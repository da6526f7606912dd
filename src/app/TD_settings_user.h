// The settings dialog the user sees, and the operations every other window reads the settings through.
#pragma once

#include "TD_settings.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QSpinBox;
class QGroupBox;
class TRadioGroup;

class TD_settings_user final : public TD_settings {
    Q_OBJECT
public:
    enum class Page { Main, Print, HourGrid };

    // Loads the settings file and registers itself as the program's settings dialog.
    explicit TD_settings_user(WindowRegistry& reg, QWidget* parent = nullptr);
    ~TD_settings_user() override;

    void SettingsToControls() override;

    // Opens the dialog modally on a page; returns the dialog's result.
    int ShowOnPage(Page page);

    QString DataFileName() const;
    // Sets the data file name and writes the settings file at once.
    void SetDataFileName(const QString& fileName);
    // The automatic save interval in seconds, or -1 when automatic save is off.
    int AutoSaveSeconds() const;
    // 0 never, 1 on exit, 2 on each save.
    int BackupMode() const;
    int FirstGridHour() const;
    int LastGridHour() const;
    bool IsAmPm() const;
    // Minutes per hour grid slot: 60, 30 or 15.
    int TimeResolution() const;
    // The print settings element, created when missing.
    TNoxPigger* PrintSettingsElement();
    void StoreWindowGeometry(QWidget* mainWindow);
    void ApplyWindowGeometry(QWidget* mainWindow);

    QWidget* TabSheet_print = nullptr;
    QWidget* TabSheet_hour_grid = nullptr;
    QPushButton* btn_help = nullptr;

    QGroupBox* GB_autosave = nullptr;
    QCheckBox* CB_autosave = nullptr;
    QLabel* Label_autosave_interval = nullptr;
    QSpinBox* SE_autosave = nullptr;
    QLabel* Label_autosave_sec = nullptr;
    TRadioGroup* RG_backup = nullptr;

    QFrame* O_settings_print1 = nullptr;

    QLabel* Label_hour0 = nullptr;
    QComboBox* CB_hour0 = nullptr;
    QLabel* Label_hour1 = nullptr;
    QComboBox* CB_hour1 = nullptr;
    TRadioGroup* RBG_mode = nullptr;
    TRadioGroup* RBG_resolution = nullptr;
    QWidget* Image_hour_grid = nullptr;

    void done(int result) override;

private:
    void BuildMainPage();
    void BuildPrintPage();
    void BuildHourGridPage();
    void SetTabOrder();
    void UpdateBackupOnSave();

    void CB_autosaveClick();
    void SE_autosaveChange();
    void RG_backupClick(int index);
    void CB_hour0Change();
    void RBG_modeClick(int index);
    void RBG_resolutionClick(int index);
    void btn_helpClick();

    TNoxPigger& Doc() const { return *SettingsDoc; }
};
