#include "app/SingleInstance.h"
#include "program/ProgramWindows.h"
#include "todo/TFmain.h"
#include "todo/rules/DataFileSave.h"

#include <QApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QtPlugin>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

// QImage and QPixmap read and write "zbm" pictures.
Q_IMPORT_PLUGIN(ZippedBitmapPlugin)

namespace {

int signalPipe[2] = {-1, -1};

void on_end_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

// A session that ends (SIGTERM at logout, SIGHUP) closes the main window the usual way, so the list and the
// settings are saved as at any exit.
void close_on_end_signals(QWidget* mainWindow) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, mainWindow);
    QObject::connect(notifier, &QSocketNotifier::activated, mainWindow, [mainWindow] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[1], &byte, 1);
        mainWindow->close();
    });
    struct sigaction action {};
    action.sa_handler = on_end_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    // A second start ends at once: no window, no message, no file touched.
    SingleInstance instance;
    if (!instance.Acquire()) {
        // The running copy may wait hidden in the tray: it shows its window.
        SingleInstance::AskRunningToShow();
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillmarch"));
    QApplication::setOrganizationName(QStringLiteral("quillmarch"));
    QApplication::setDesktopFileName(QStringLiteral("quillmarch"));
    // Hiding to the tray and closing dialogs must not end the program; the main window's close does.
    QApplication::setQuitOnLastWindowClosed(false);

    ProgramWindows program;
    // The lock is held: temporary files beside our files are left by a killed save of ours.
    for (const QString& file :
         {program.list.FileName(), backup_file_name(program.list.FileName()), program.paths.settingsFile})
        remove_stale_temporary_files(file);
    if (!program.Create()) return 0;
    TFmain* main = program.registry.main;
    QObject::connect(main, &TForm_main::ClosedForGood, &app, &QApplication::quit, Qt::QueuedConnection);
    close_on_end_signals(main);
    instance.Listen(main, [main] { main->ShowFromTray(); });
    main->show();
    int result = app.exec();
    // The loop can also end without the window's close (the session quitting while it stands by): the
    // close sequence must still run, and if the user chooses to stay, the program goes on.
    while (!main->IsClosed()) {
        main->close();
        if (main->IsClosed()) break;
        main->ShowFromTray();
        result = app.exec();
    }
    return result;
}
