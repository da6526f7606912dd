#include "SingleInstance.h"
#include "ProgramWindows.h"
#include "TFmain.h"

#include <QApplication>

int main(int argc, char** argv) {
    // A second start ends at once: no window, no message, no file touched.
    SingleInstance instance;
    if (!instance.Acquire())
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillmarch"));
    QApplication::setOrganizationName(QStringLiteral("quillmarch"));
    QApplication::setDesktopFileName(QStringLiteral("quillmarch"));
    // Hiding to the tray and closing dialogs must not end the program; the main window's close does.
    QApplication::setQuitOnLastWindowClosed(false);

    ProgramWindows windows;
    if (!windows.Create())
        return 0;
    QObject::connect(windows.main.get(), &TForm_main::ClosedForGood, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    windows.main->show();
    return app.exec();
}
