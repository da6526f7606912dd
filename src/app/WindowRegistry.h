// How the windows find each other: main() fills one registry as it creates them and hands it to every
// window. A test builds one holding only the windows it needs; a missing window is a null pointer.
#pragma once

#include <QString>

class TForm_main;
class TFmain;
class TFsure;
class TD_select_image;
class TD_select_date_move;
class TF_find_uncomplete;
class TF_find_context;
class TDmsg;
class TF_new_todolist;
class TF_about;
class TD_print;
class TFhour_grid;
class TD_print_hour_grid;
class TD_add_TV_show;
class TD_settings_user;

struct WindowRegistry {
    // The program file the data and settings file names are formed from. Empty means the running
    // program's own file; tests point it into a temporary folder.
    QString programFile;

    TForm_main* shell = nullptr;
    TFmain* main = nullptr;
    TFsure* sure = nullptr;
    TD_select_image* selectImage = nullptr;
    TD_select_date_move* selectDateMove = nullptr;
    TF_find_uncomplete* findUncomplete = nullptr;
    TF_find_context* findContext = nullptr;
    TDmsg* msg = nullptr;
    TF_new_todolist* newTodolist = nullptr;
    TF_about* about = nullptr;
    TD_print* print = nullptr;
    TFhour_grid* hourGrid = nullptr;
    TD_print_hour_grid* printHourGrid = nullptr;
    TD_add_TV_show* addTvShow = nullptr;
    TD_settings_user* settings = nullptr;
};
