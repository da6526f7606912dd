// The main window's position and size kept in the settings between runs.
#pragma once

class QWidget;
class Settings;

// Writes the window's normal geometry (a maximized window is first set to normal size).
void store_window_geometry(Settings& settings, QWidget* window);
// Sets what the settings hold of the geometry, each value on its own, keeping the window on the desktop.
void apply_window_geometry(const Settings& settings, QWidget* window);
