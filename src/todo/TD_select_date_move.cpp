#include "todo/TD_select_date_move.h"

#include "app/TForm_main.h"
#include "todo/rules/DayKeys.h"
#include "ui/TRadioGroup.h"
#include "ui/WidgetHelpers.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TD_select_date_move::TD_select_date_move(WindowRegistry& reg, QWidget* parent) : TD_select_date(reg, parent) {
    setObjectName(QStringLiteral("TD_select_date_move"));
    setWindowTitle(QStringLiteral("Select date"));

    RB_date_on = named(new QRadioButton(QStringLiteral("Move to data:"), this), "RB_date_on");
    RB_date_on->setChecked(true);
    RB_date_off =
        named(new QRadioButton(QStringLiteral("Move to data independed items list"), this), "RB_date_off");
    RadioGroup1 = new TRadioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("Move the item:"),
                                  {QStringLiteral("Making a copy"), QStringLiteral("Moving")}, this);
    RadioGroup1->SetItemIndex(Copy);
    Btn_help = make_button("Btn_help", QStringLiteral("Help"), this);

    // Target kind above and below the calendar it governs, then the action.
    MainLayout()->insertWidget(0, RB_date_on);
    MainLayout()->insertWidget(2, RB_date_off);
    MainLayout()->insertWidget(3, RadioGroup1);
    ButtonRow()->addWidget(Btn_help);

    set_tab_order({RB_date_on, Calendar1, RB_date_off, RadioGroup1->Button(0), RadioGroup1->Button(1), Btn_ok,
                   Btn_cancel, Btn_help});

    connect(RB_date_on, &QRadioButton::clicked, this, &TD_select_date_move::RB_date_onClick);
    connect(RB_date_off, &QRadioButton::clicked, this, &TD_select_date_move::RB_date_onClick);
    connect(Btn_help, &QPushButton::clicked, this, [this] {
        if (reg_.shell) reg_.shell->ShowHelp(QStringLiteral("Move_item"));
    });
}

TD_select_date_move::Target TD_select_date_move::select_move_target(const std::string& key) {
    Btn_ok->setEnabled(false);
    source_key = key;
    const QDate shown = parse_day_key(key).value_or(QDate::currentDate());
    Calendar1->setSelectedDate(shown);
    ok_enabling();
    const QDate chosen = select_date(shown);
    Target target;
    target.key = RB_date_on->isChecked() ? render_day_key(chosen) : kDateIndependentKey;
    target.action = confirmed ? RadioGroup1->ItemIndex() : Cancelled;
    return target;
}

void TD_select_date_move::Calendar1Click() {
    ok_enabling();
}

void TD_select_date_move::RB_date_onClick() {
    Calendar1->setEnabled(RB_date_on->isChecked());
    ok_enabling();
}

void TD_select_date_move::ok_enabling() {
    Btn_ok->setEnabled(false);
    if ((RB_date_off->isChecked() && source_key != kDateIndependentKey) ||
        (RB_date_on->isChecked() && render_day_key(Calendar1->selectedDate()) != source_key))
        Btn_ok->setEnabled(true);
}
