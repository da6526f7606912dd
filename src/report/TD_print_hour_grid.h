// The hour grid's print dialog: the day's time lines with the items placed at them, then the items
// without a time, read from the hour grid window that is open underneath.
#pragma once

#include "report/TD_print.h"

class TFhour_grid;

class TD_print_hour_grid final : public TD_print, public HourGridPrintEntry {
    Q_OBJECT
public:
    TD_print_hour_grid(WindowRegistry& reg, TFhour_grid* hourGrid, QWidget* parent = nullptr);
    ~TD_print_hour_grid() override;

    // Prints the rows the hour grid shows for the day.
    void ExecuteHourGrid(TNoxPigger* day) override;
    void BuildReport(const std::string& fileName) override;

    QCheckBox* CB_empty_time = nullptr;
    QCheckBox* CB_time_independed = nullptr;
    QWidget* Panel_hour = nullptr;
    QLabel* Label_time = nullptr;

private:
    TFhour_grid* hourGrid_ = nullptr;
};
