// The settings dialog the user sees, and the operations every other window reads the settings through.
#pragma once

#include "app/TD_settings.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QSpinBox;
class QGroupBox;
class TRadioGroup;
class PrintSettingsPage;

class TD_settings_user final : public TD_settings {
    Q_OBJECT
public:
    enum class Page { Main, Print, HourGrid };

    explicit TD_settings_user(WindowRegistry& reg, QWidget* parent = nullptr);
    ~TD_settings_user() override;

    void SettingsToControls() override;

    // Opens the dialog modally on a page; returns the dialog's result.
    int ShowOnPage(Page page);

    // The settings read through their model; these keep the dialog's names for them.
    QString DataFileName() const;
    void SetDataFileName(const QString& fileName);
    int AutoSaveSeconds() const;
    int BackupMode() const;
    int FirstGridHour() const;
    int LastGridHour() const;
    bool IsAmPm() const;
    int TimeResolution() const;
    TNoxPigger* PrintSettingsElement();
    // The print settings frame comes from the printing folder above this one: it takes the place and the
    // name of the empty frame on the "Print" page and is attached to the print settings at once.
    void SetPrintSettingsPage(QFrame* frame, PrintSettingsPage* page);
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
    QCheckBox* CB_remind = nullptr;

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

    void CB_autosaveClick();
    void SE_autosaveChange();
    void RG_backupClick(int index);
    void CB_remindClick();
    void CB_hour0Change();
    void RBG_modeClick(int index);
    void RBG_resolutionClick(int index);
    void btn_helpClick();

    PrintSettingsPage* printPage_ = nullptr;
};
