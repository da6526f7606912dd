#include "report/PrintLibraryBinding.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QLibrary>
#include <QTimer>

#include <memory>

namespace {

using PrintReport = int32_t (*)(const char*, int32_t);
using HasActiveProcesses = int32_t (*)();

} // namespace

QStringList PrintLibraryBinding::DefaultCandidates() {
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kFileName)),
            QLatin1String(kFileName)};
}

int32_t PrintLibraryBinding::PrintReportFile(const QByteArray& fileName, int32_t option) {
    std::unique_ptr<QLibrary> library;
    for (const QString& candidate : Candidates) {
        library = std::make_unique<QLibrary>(candidate);
        if (library->load()) break;
        library.reset();
    }
    if (!library) {
        if (ShowMessage) ShowMessage(QStringLiteral("%1 not found").arg(QLatin1String(kFileName)));
        return -1;
    }

    const auto print = reinterpret_cast<PrintReport>(library->resolve("print_report"));
    const auto busy = reinterpret_cast<HasActiveProcesses>(library->resolve("has_active_processes"));
    const int32_t result = print ? print(fileName.constData(), option) : -1;
    // The library may go on working after print_report returns; the file must stay until it is done.
    // A short pause between questions keeps the processor idle while the window stays responsive.
    while (busy && busy() > 0) {
        QEventLoop wait;
        QTimer::singleShot(PollPause, &wait, &QEventLoop::quit);
        wait.exec();
    }
    library->unload();
    return result;
}
