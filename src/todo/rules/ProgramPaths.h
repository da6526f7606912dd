// Where the program's files live: beside the program file when its folder is writable (a portable copy,
// the build folder), otherwise under the same names in the user's data and configuration folders.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The file with its extension replaced ("x" or "x.exe" with ".dat" gives "x.dat").
QString with_extension(const QString& file, const QString& extension);

// Removes the temporary files a killed save left beside the file; only while no other instance could be
// writing them (the single-instance lock held). Returns how many went.
int remove_stale_temporary_files(const QString& file);

// The folder of the recovery copies of unsaved lists: the user's state folder.
QString recovery_folder();
// The recovery copy of a data file in that folder: the file's name for the reader, a digest of its whole
// path to tell lists apart.
QString recovery_file_name(const QString& folder, const QString& dataFile);
// The time of a recovery copy that holds changes the data file does not: one at least as new as the
// data file. Nothing when there is no such copy.
std::optional<QDateTime> left_recovery_time(const QString& recoveryFile, const QString& dataFile);

// The settings file that the program at programFile reads, found without creating anything; empty when
// that program has none yet (it would start with the default settings).
QString existing_settings_file(const QString& programFile);

// Decided once at start and kept for the run: a later failure to write there is a failed save, never a
// move elsewhere.
struct ProgramPaths {
    // Placed from the given program file; an empty one means the running program's own file.
    explicit ProgramPaths(const QString& programFile = {});

    QString programFile;
    QString defaultDataFile; // ".dat"
    QString settingsFile;    // ".set"
    // Where the recovery copies of unsaved lists go: the user's state folder.
    QString recoveryFolder;
};
