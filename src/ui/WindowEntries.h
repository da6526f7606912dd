// The entry operations of windows that live in folders above the windows that open them. A window of a
// higher folder implements its entry; the registry hands it out under that type, so the opener needs no
// include of the higher folder and the folders keep including each other in one direction only.
#pragma once

class TNoxPigger;

// The hour grid: shows a day's items on the grid; gives back the item selected when it closed, or none.
class HourGridEntry {
public:
    virtual TNoxPigger* ShowDay(TNoxPigger* day, TNoxPigger* item) = 0;

protected:
    ~HourGridEntry() = default;
};

// A search window over the whole document.
class FindEntry {
public:
    virtual void ShowFind(TNoxPigger* root) = 0;

protected:
    ~FindEntry() = default;
};

// The print dialog: a day, or only the given item of it.
class PrintEntry {
public:
    virtual void Execute(TNoxPigger* day, TNoxPigger* item) = 0;

protected:
    ~PrintEntry() = default;
};

// The hour grid's print dialog, for the day the hour grid shows.
class HourGridPrintEntry {
public:
    virtual void ExecuteHourGrid(TNoxPigger* day) = 0;

protected:
    ~HourGridPrintEntry() = default;
};

// The print settings frame on the settings dialog's "Print" page. The settings dialog attaches it to the
// print settings element whenever it fills its controls.
class PrintSettingsPage {
public:
    virtual void AttachPrintSettings(TNoxPigger* printSettings) = 0;

protected:
    ~PrintSettingsPage() = default;
};
