// Opens a data file the way Quillmarch does (its list model loading it), says so, and waits to be
// killed: a running program holding that list, for quillmarch-tool to meet.
#include "todo/rules/Settings.h"
#include "todo/rules/TodoList.h"

#include <QCoreApplication>
#include <QString>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    QCoreApplication app(argc, argv);
    Settings settings(QString::fromLocal8Bit(argv[2]));
    TodoList list(settings, QString::fromLocal8Bit(argv[1]));
    list.Load();
    std::puts("loaded");
    std::fflush(stdout);
    for (;;)
        ::pause();
}
