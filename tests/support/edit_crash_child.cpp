// The real program's windows and list in a folder, edited through the main window's own functions until
// the process is killed. Each change adds item "k" and prints "k <milliseconds since the epoch>", so a
// reader can tell which changes were made how long before the kill.
#include "program/ProgramWindows.h"
#include "todo/TFmain.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int recoveryDelay = std::atoi(argv[2]);
    qputenv("XDG_STATE_HOME", QFile::encodeName(QDir(folder).filePath(QStringLiteral("state"))));
    // A killed run leaves its list's lock file behind: in the folder, not in the user's runtime folder.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
    QApplication app(argc, argv);
    ProgramWindows program(QDir(folder).filePath(QStringLiteral("quillmarch")));
    // A list left by an earlier run is answered by keeping its copy aside; each run starts over.
    if (!program.Create()) return 1;
    TFmain& main = *program.registry.main;
    main.AskRestoreRecovery = [](const QString&) { return false; };
    program.list.RecoveryDelayMs = recoveryDelay;
    int k = 0;
    QTimer edits;
    QObject::connect(&edits, &QTimer::timeout, [&] {
        main.add_item(main.current_day, std::to_string(k));
        std::printf("%d %lld\n", k, static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        std::fflush(stdout);
        ++k;
    });
    std::puts("editing");
    std::fflush(stdout);
    edits.start(15);
    return app.exec();
}
