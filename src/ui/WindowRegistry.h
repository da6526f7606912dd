// How the windows find each other. ProgramWindows creates every window once, in the program's order, and
// puts it here; each window is handed the registry in its constructor. The list and the settings always
// exist. A window's entry is set from its creation to the end of the run; a test creates only the
// windows it uses, through the same code, and leaves the others out.
#pragma once

class Settings;
class TodoList;
class TForm_main;
class TFmain;
class TFsure;
class TD_select_image;
class TD_select_date_move;
class TDmsg;
class TF_new_todolist;
class TF_about;
class TD_settings_user;
class FindEntry;
class HourGridEntry;
class HourGridPrintEntry;
class PrintEntry;
class TD_add_TV_show;

struct WindowRegistry {
    WindowRegistry(Settings& settingsModel, TodoList& listModel) : settings(settingsModel), list(listModel) {}

    Settings& settings;
    TodoList& list;

    TD_settings_user* settingsDialog = nullptr;
    // The main window, also as the shell every window asks for help pages.
    TForm_main* shell = nullptr;
    TFmain* main = nullptr;
    TFsure* sure = nullptr;
    TD_select_image* selectImage = nullptr;
    TD_select_date_move* selectDateMove = nullptr;
    FindEntry* findUncomplete = nullptr;
    FindEntry* findContext = nullptr;
    TDmsg* msg = nullptr;
    TF_new_todolist* newTodolist = nullptr;
    TF_about* about = nullptr;
    PrintEntry* print = nullptr;
    HourGridEntry* hourGrid = nullptr;
    HourGridPrintEntry* printHourGrid = nullptr;
    TD_add_TV_show* addTvShow = nullptr;
};
