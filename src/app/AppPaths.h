// Where the program's files live: beside the program file when its folder is writable (a portable copy,
// the build folder), otherwise under the same names in the user's data and configuration folders.
#pragma once

#include <QString>

struct WindowRegistry;

// The program file: the registry's override, or the running program.
QString program_file(const WindowRegistry& reg);
// The program file with its extension replaced ("x" or "x.exe" with ".dat" gives "x.dat").
QString with_extension(const QString& file, const QString& extension);
// The default data file (".dat") and the settings file (".set").
QString default_data_file(const WindowRegistry& reg);
QString settings_file(const WindowRegistry& reg);
