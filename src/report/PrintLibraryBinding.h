// The binding to the report printing library: any shared library exporting "print_report" and
// "has_active_processes" will do. It is loaded for each print and unloaded afterwards.
#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>

class PrintLibraryBinding final {
public:
    static constexpr char kFileName[] = "libprnrepnoxua.so";

    // The library beside the program first, then wherever the system's loader finds it.
    static QStringList DefaultCandidates();

    // Loads the first candidate that loads, hands it the report file and waits until it is idle, the
    // user interface handling its events meanwhile. Gives print_report's answer, or -1 without the
    // library or without that export (the other export is still used).
    int32_t PrintReportFile(const QByteArray& fileName, int32_t option);

    QStringList Candidates = DefaultCandidates();
    // How long to let the user interface run between two questions whether the library is still busy.
    std::chrono::milliseconds PollPause{20};
    // Tells the user that the library is missing.
    std::function<void(const QString&)> ShowMessage;
};
