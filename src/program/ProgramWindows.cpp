#include "program/ProgramWindows.h"

#include "app/TD_settings_user.h"
#include "app/TF_new_todolist.h"
#include "dialogs/TDmsg.h"
#include "dialogs/TF_about.h"
#include "dialogs/TFsure.h"
#include "hourgrid/TFhour_grid.h"
#include "report/TD_print.h"
#include "report/TD_print_hour_grid.h"
#include "report/TO_settings_print.h"
#include "reminders/DesktopReminders.h"
#include "search/TF_find_context.h"
#include "search/TF_find_uncomplete.h"
#include "todo/TD_add_TV_show.h"
#include "todo/TD_select_date_move.h"
#include "todo/TD_select_image.h"
#include "todo/TFmain.h"

// Members in creation order; destroyed in reverse, so dialogs go before the main window, whose end
// writes the list and the settings and may still ask through them.
struct ProgramWindows::Windows {
    std::unique_ptr<TD_settings_user> settingsDialog;
    std::unique_ptr<TFmain> main;
    std::unique_ptr<TFsure> sure;
    std::unique_ptr<TD_select_image> selectImage;
    std::unique_ptr<TD_select_date_move> selectDateMove;
    std::unique_ptr<TF_find_uncomplete> findUncomplete;
    std::unique_ptr<TF_find_context> findContext;
    std::unique_ptr<TDmsg> msg;
    std::unique_ptr<TF_new_todolist> newTodolist;
    std::unique_ptr<TF_about> about;
    std::unique_ptr<TD_print> print;
    std::unique_ptr<TFhour_grid> hourGrid;
    std::unique_ptr<TD_print_hour_grid> printHourGrid;
    std::unique_ptr<TD_add_TV_show> addTvShow;
    // Owned by the settings dialog, on its "Print" page.
    TO_settings_print* printSettings = nullptr;
    std::unique_ptr<DesktopReminders> reminders;

    ~Windows() {
        reminders.reset();
        addTvShow.reset();
        printHourGrid.reset();
        hourGrid.reset();
        print.reset();
        about.reset();
        newTodolist.reset();
        msg.reset();
        findContext.reset();
        findUncomplete.reset();
        selectDateMove.reset();
        selectImage.reset();
        sure.reset();
        main.reset();
        settingsDialog.reset();
    }
};

ProgramWindows::ProgramWindows(const QString& programFile)
    : paths(programFile), settings(paths.settingsFile),
      list(settings, paths.defaultDataFile, paths.recoveryFolder), registry(settings, list),
      windows_(std::make_unique<Windows>()) {}

ProgramWindows::~ProgramWindows() = default;

TFhour_grid* ProgramWindows::HourGridWindow() const {
    return windows_->hourGrid.get();
}

TD_print* ProgramWindows::PrintWindow() const {
    return windows_->print.get();
}

TD_print_hour_grid* ProgramWindows::PrintHourGridWindow() const {
    return windows_->printHourGrid.get();
}

TO_settings_print* ProgramWindows::PrintSettingsFrame() const {
    return windows_->printSettings;
}

namespace {
template <class W> W* create(unsigned wanted, unsigned which, std::unique_ptr<W>& slot, WindowRegistry& reg) {
    if (!(wanted & which)) return nullptr;
    slot = std::make_unique<W>(reg);
    return slot.get();
}
} // namespace

bool ProgramWindows::Create(unsigned wanted) {
    Windows& w = *windows_;
    registry.settingsDialog = create(wanted, SettingsDialog, w.settingsDialog, registry);
    if (registry.settingsDialog) {
        // The print page lives in the printing folder, above the settings dialog's.
        w.printSettings = new TO_settings_print;
        registry.settingsDialog->SetPrintSettingsPage(w.printSettings, w.printSettings);
    }
    if (create(wanted, Main, w.main, registry)) {
        registry.main = w.main.get();
        registry.shell = w.main.get();
        if (BeforeMainLoads) BeforeMainLoads(*w.main);
        w.main->FormCreate();
        if (w.main->IsClosed()) return false;
    }
    registry.sure = create(wanted, Sure, w.sure, registry);
    registry.selectImage = create(wanted, SelectImage, w.selectImage, registry);
    registry.selectDateMove = create(wanted, SelectDateMove, w.selectDateMove, registry);
    registry.findUncomplete = create(wanted, FindUncomplete, w.findUncomplete, registry);
    registry.findContext = create(wanted, FindContext, w.findContext, registry);
    registry.msg = create(wanted, Msg, w.msg, registry);
    registry.newTodolist = create(wanted, NewTodolist, w.newTodolist, registry);
    registry.about = create(wanted, About, w.about, registry);
    registry.print = create(wanted, Print, w.print, registry);
    registry.hourGrid = create(wanted, HourGrid, w.hourGrid, registry);
    if (wanted & PrintHourGrid) {
        w.printHourGrid = std::make_unique<TD_print_hour_grid>(registry, w.hourGrid.get());
        registry.printHourGrid = w.printHourGrid.get();
    }
    registry.addTvShow = create(wanted, AddTvShow, w.addTvShow, registry);
    create(wanted, Reminders, w.reminders, registry);
    return true;
}
