// The program's one place of creation: the settings and the list first, then every window once, in the
// program's order, each put into the registry. Everything lives until the program ends. Tests create the
// same way, only the windows they need.
#pragma once

#include "todo/rules/ProgramPaths.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoList.h"
#include "ui/WindowRegistry.h"

#include <QString>
#include <functional>
#include <memory>

class TFmain;
class TFhour_grid;
class TD_print;
class TD_print_hour_grid;
class TO_settings_print;

class ProgramWindows {
public:
    // The program's files are placed from the program file (empty: the running program). Loads the
    // settings; the list is loaded when the main window is created.
    explicit ProgramWindows(const QString& programFile = {});
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The windows, in the order they are created.
    enum Window : unsigned {
        SettingsDialog = 1u << 0,
        Main = 1u << 1,
        Sure = 1u << 2,
        SelectImage = 1u << 3,
        SelectDateMove = 1u << 4,
        FindUncomplete = 1u << 5,
        FindContext = 1u << 6,
        Msg = 1u << 7,
        NewTodolist = 1u << 8,
        About = 1u << 9,
        Print = 1u << 10,
        HourGrid = 1u << 11,
        PrintHourGrid = 1u << 12,
        AddTvShow = 1u << 13,
        // Not a window: the reminders of timed items, after every window.
        Reminders = 1u << 14,
        All = ~0u,
    };
    // Creates the windows asked for (all of them for the program). False when the main window closed
    // while it was being created (a data file of the wrong format): the program then ends.
    bool Create(unsigned windows = All);

    // Runs on the main window before it loads the list: tests answer its messages and questions here.
    std::function<void(TFmain&)> BeforeMainLoads;

    // The hour grid as the window it is (the registry holds its entry): for its print and for tests.
    TFhour_grid* HourGridWindow() const;
    // The print dialogs and the settings dialog's print page as the windows they are, for tests.
    TD_print* PrintWindow() const;
    TD_print_hour_grid* PrintHourGridWindow() const;
    TO_settings_print* PrintSettingsFrame() const;

    ProgramPaths paths;
    Settings settings;
    TodoList list;
    WindowRegistry registry;

private:
    struct Windows;
    std::unique_ptr<Windows> windows_;
};
