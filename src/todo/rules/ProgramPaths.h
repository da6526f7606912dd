// Where the program's files live: beside the program file when its folder is writable (a portable copy,
// the build folder), otherwise under the same names in the user's data and configuration folders.
#pragma once

#include <QString>

// The file with its extension replaced ("x" or "x.exe" with ".dat" gives "x.dat").
QString with_extension(const QString& file, const QString& extension);

// Removes the temporary files a killed save left beside the file; only while no other instance could be
// writing them (the single-instance lock held). Returns how many went.
int remove_stale_temporary_files(const QString& file);

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
