// The print dialog: prints the items of a day, or only the current item. On "Print" it fills its hidden
// template panels item by item, converts them into a report and hands the report to the printing library.
// The template controls' positions are the layout of the printed page.
#pragma once

#include "markup/NoxPigger.h"
#include "report/PrintLibraryBinding.h"
#include "ui/WindowEntries.h"

#include <QDialog>

#include <functional>
#include <string>

struct WindowRegistry;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class TDataStream;

class TD_print : public QDialog, public PrintEntry {
    Q_OBJECT
public:
    explicit TD_print(WindowRegistry& reg, QWidget* parent = nullptr);
    ~TD_print() override;

    // Shows the dialog modally for the day and its current item (either may be none; without a day
    // nothing happens).
    void Execute(TNoxPigger* day, TNoxPigger* item) override;
    // Execute up to the showing: keeps both; false without a day.
    bool Prepare(TNoxPigger* day, TNoxPigger* item);

    // Builds the report from the current options and writes it as the file. Throws when building or
    // writing fails; the file is then left as it was.
    virtual void BuildReport(const std::string& fileName);
    virtual void AddItem(const TNoxPigger& item, TDataStream& buffer);

    // "Print": the report goes into a folder of its own, made for this print, and is removed with it
    // once the library is done. The dialog stays open.
    void OKBtnClick();
    void Btn_settingsClick();
    void Btn_helpClick();
    int32_t PrintReportFile(const std::string& fileName, int32_t option);

    TNoxPigger* Day() const { return day_; }
    TNoxPigger* CurrentItem() const { return item_; }

    // How the library is found and waited for.
    PrintLibraryBinding Library;
    // Tells the user what went wrong; tests replace it.
    std::function<void(const QString&)> ShowError;

    QGroupBox* GB_range = nullptr;
    QRadioButton* RB_date = nullptr;
    QRadioButton* RB_current = nullptr;
    QGroupBox* GB_options = nullptr;
    QCheckBox* CB_item_text = nullptr;
    QCheckBox* CB_Description = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* Btn_settings = nullptr;
    QPushButton* Btn_help = nullptr;

    // The templates, never shown.
    QWidget* Panel_title = nullptr;
    QLabel* Label_title = nullptr;
    QWidget* Panel_label = nullptr;
    QCheckBox* CB_label = nullptr;
    QWidget* Panel_memo = nullptr;
    QLabel* Label_memo_title = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

protected:
    // The start of every report: the print settings styled onto the templates, then an empty report.
    void StartReport(TDataStream& buffer);
    // The end of every report: its tail, then the whole text written as the file.
    static void FinishReport(TDataStream& buffer, const std::string& fileName);
    // A title band.
    void AddTitle(const std::string& caption, TDataStream& buffer);
    // The options group's layout, for the hour grid's own options.
    QVBoxLayout* OptionsLayout() const { return options_; }
    // Finds a program window's help; the hour grid print shares it.
    WindowRegistry& reg_;

private:
    void BuildTemplates();
    // The day and the item are the document's; they are dropped when it is replaced.
    void Forget();

    TNoxPigger* day_ = nullptr;
    TNoxPigger* item_ = nullptr;
    QVBoxLayout* options_ = nullptr;
    bool printing_ = false;
};
