// Every window of the program, created once in a fixed order and kept until exit.
#pragma once

#include "WindowRegistry.h"

#include <memory>

class TFmain;
class TFsure;
class TD_select_image;
class TDmsg;
class TF_new_todolist;
class TF_about;

class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // Creates the windows, main window first. False when the main window closed while it was being
    // created (a data file of the wrong format): the program then ends.
    bool Create();

    WindowRegistry registry;
    std::unique_ptr<TFmain> main;
    std::unique_ptr<TFsure> sure;
    std::unique_ptr<TD_select_image> selectImage;
    std::unique_ptr<TDmsg> msg;
    std::unique_ptr<TF_new_todolist> newTodolist;
    std::unique_ptr<TF_about> about;
};
