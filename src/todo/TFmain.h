// The main window: the items of one day (or of the date-independent list) with their descriptions, the
// commands on items, date navigation, and the file commands.
#pragma once

#include "app/TForm_main.h"
#include "todo/rules/TodoList.h"

#include <QDate>
#include <QString>
#include <functional>
#include <string>

class DayListWidget;
class QAction;
class QDateEdit;
class QLabel;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;

class TFmain final : public TForm_main {
    Q_OBJECT
public:
    explicit TFmain(WindowRegistry& registry, QWidget* parent = nullptr);
    ~TFmain() override;

    // Menus.
    QMenu* N_File = nullptr;
    QAction* N_New = nullptr;
    QAction* N_Open = nullptr;
    QAction* N_Save = nullptr;
    QAction* N_Saveas = nullptr;
    QAction* N_Print = nullptr;
    QAction* N_Exit1 = nullptr;
    QMenu* N_Edit = nullptr;
    QAction* N_Add = nullptr;
    QAction* N_Delete = nullptr;
    QAction* N_Edit_text = nullptr;
    QAction* N_Change_image = nullptr;
    QAction* N_hour_grid = nullptr;
    QAction* N_Movetootherdate = nullptr;
    QMenu* N_Search = nullptr;
    QAction* N_Context_search = nullptr;
    QAction* N_Find_uncompleted = nullptr;
    QMenu* N_View = nullptr;
    QAction* N_Standby = nullptr;
    QAction* N_Settings = nullptr;
    QMenu* N_Help = nullptr;
    QAction* N_Help1 = nullptr;
    QAction* N_About = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N_pAdd = nullptr;
    QAction* N_pDelete = nullptr;
    QAction* N_pEdit_text = nullptr;
    QAction* N_pChange_image = nullptr;
    QAction* N_pMove = nullptr;

    // Tool bar.
    QToolBar* ToolBar1 = nullptr;
    QToolButton* TB_add_task = nullptr;
    QToolButton* TB_del_task = nullptr;
    QToolButton* TB_move = nullptr;
    QToolButton* TB_search = nullptr;
    QToolButton* TB_hour = nullptr;
    QToolButton* TB_tvshow = nullptr;
    QToolButton* SB_stand_by = nullptr;

    // Day selection, list and description.
    QRadioButton* RB_date_on = nullptr;
    QDateEdit* DatePicker1 = nullptr;
    QRadioButton* RB_date_off = nullptr;
    QSplitter* Splitter1 = nullptr;
    DayListWidget* LV1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QPlainTextEdit* Memo_dsc = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    // The open list's automatic save timer.
    QTimer* Timer_auto_save = nullptr;

    TNoxPigger* current_day = nullptr;
    bool description_modified = false;

    // The day shown.
    void go_to_day(const std::string& key);
    void go_to_date(const QDate& date);
    void go_to_today();
    void show_file_name(const QString& name);
    QString file_name() const { return fileName_; }
    // The key of the shown day as the window knows it: the picker's date, or "N/A".
    std::string shown_key() const;

    // Rows and their items.
    void fill_day_list();
    QListWidgetItem* show_item_row(TNoxPigger* item);
    QListWidgetItem* row_of_item(const TNoxPigger* item) const;
    TNoxPigger* item_of_row(const QListWidgetItem* row) const;
    QListWidgetItem* selected_row() const;
    void store_item_row(QListWidgetItem* row);
    // Quietly: for a save the user did not ask for; nothing on screen changes, an open in-place edit
    // stays open and its text so far goes into the item.
    void store_day_list(bool quietly = false);
    void store_description();
    void load_description();
    void clear_description();
    TNoxPigger* add_item(TNoxPigger* day, const std::string& text);
    void item_actions_enabling();
    void step_day(bool forward);
    void remove_empty_days();
    // Removes every row before the document is replaced.
    void empty_day_list();

    // Commands.
    void N_AddClick();
    void N_Edit_textClick();
    void N_DeleteClick();
    void N_Change_imageClick();
    void N_hour_gridClick();
    void N_MovetootherdateClick();
    void N_Context_searchClick();
    void N_Find_uncompletedClick();
    void N_PrintClick();
    void TB_tvshowClick();
    void N_SettingsClick();
    void N_AboutClick();
    void N_Help1Click();

    // File commands; each returns whether it went through.
    bool N_SaveClick();
    bool N_OpenClick();
    bool N_SaveasClick();
    bool N_NewClick();
    void N_Exit1Click();

    // Automatic save.
    void ArmAutoSave();
    void Timer_auto_saveTimer();

    void FormCreate() override;
    void Activated() override;

    // File choosers; tests replace them. Each gives the chosen file or the empty string.
    std::function<QString()> ChooseOpenFile;
    std::function<QString()> ChooseSaveFile;

protected:
    void CloseHandler() override;
    void CloseCancelled() override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildClientArea();
    void RB_date_onClick();
    void DatePicker1Change();
    bool LV1KeyDown(QKeyEvent* event);
    void RowDropped(QListWidgetItem* target);
    void RowStateChanging();
    void SetPickerDate(const QDate& date);
    QListWidgetItem* new_row(TNoxPigger* item);
    // Tells the user a save did not reach the disk; repeated failures of the automatic save only once.
    void ReportSaveFailure(bool automatic);
    // The status bar's first panel: "Not saved" after a failed save, else "Modified" while changes are
    // unsaved.
    void ShowSaveState();
    void ClearSaveFailure();
    bool SwitchDataFile(const QString& fileName, const QString& what);
    bool SwitchFinished(TodoList::SwitchResult result, const QString& fileName, const QString& what);

    QString fileName_;
    TNoxPigger* descriptionOwner_ = nullptr; // the item whose description Memo_dsc shows
    bool saveFailureShown_ = false;
    bool saveFailed_ = false;
    bool loadingDescription_ = false;
    bool geometryApplied_ = false;
    bool wasMaximized_ = false;
    bool filling_ = false;
};
