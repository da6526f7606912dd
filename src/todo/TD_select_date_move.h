// The move dialog: where an item goes (a date, or the date-independent list) and whether it is copied or
// moved. The dialog lives for the whole run, so the target kind and the action stay as last chosen.
#pragma once

#include "todo/TD_select_date.h"

#include <string>

class QRadioButton;
class TRadioGroup;

class TD_select_date_move final : public TD_select_date {
    Q_OBJECT
public:
    explicit TD_select_date_move(WindowRegistry& reg, QWidget* parent = nullptr);

    enum Action { Cancelled = -1, Copy = 0, Move = 1 };
    struct Target {
        std::string key;
        int action = Cancelled;
    };
    // Asks where the item of the day of the key goes. "OK" is offered only for another day.
    Target select_move_target(const std::string& key);

    QRadioButton* RB_date_on = nullptr;
    QRadioButton* RB_date_off = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    QPushButton* Btn_help = nullptr;
    std::string source_key;

protected:
    void Calendar1Click() override;

private:
    void RB_date_onClick();
    // "OK" only for a target other than the item's own day.
    void ok_enabling();
};
