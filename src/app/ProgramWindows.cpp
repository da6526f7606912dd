#include "ProgramWindows.h"

#include "TD_select_image.h"
#include "TDmsg.h"
#include "TF_about.h"
#include "TF_new_todolist.h"
#include "TFmain.h"
#include "TFsure.h"

ProgramWindows::ProgramWindows() = default;

ProgramWindows::~ProgramWindows() {
    // Dialogs first: the main window's end writes the settings and may still ask through them.
    about.reset();
    newTodolist.reset();
    msg.reset();
    selectImage.reset();
    sure.reset();
    main.reset();
}

bool ProgramWindows::Create() {
    main = std::make_unique<TFmain>(registry);
    if (main->IsClosed()) return false;
    sure = std::make_unique<TFsure>(registry);
    registry.sure = sure.get();
    selectImage = std::make_unique<TD_select_image>(registry);
    registry.selectImage = selectImage.get();
    msg = std::make_unique<TDmsg>(registry);
    registry.msg = msg.get();
    newTodolist = std::make_unique<TF_new_todolist>(registry);
    registry.newTodolist = newTodolist.get();
    about = std::make_unique<TF_about>(registry);
    registry.about = about.get();
    return true;
}
