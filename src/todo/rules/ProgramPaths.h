// Where the program's files live: beside the program file when its folder is writable (a portable copy,
// the build folder), otherwise under the same names in the user's data and configuration folders.
#pragma once

#include <QString>

// The file with its extension replaced ("x" or "x.exe" with ".dat" gives "x.dat").
QString with_extension(const QString& file, const QString& extension);

struct ProgramPaths {
    // Placed from the given program file; an empty one means the running program's own file.
    explicit ProgramPaths(const QString& programFile = {});

    QString programFile;
    QString defaultDataFile; // ".dat"
    QString settingsFile;    // ".set"
    // Where the recovery copies of unsaved lists go: the user's state folder.
    QString recoveryFolder;
};
