#include "search/TF_find_uncomplete.h"

#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"
#include "ui/WidgetHelpers.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QPushButton>
#include <QTreeView>

namespace {
QDateEdit* make_date_picker(const char* name, const QDate& date, const QString& accessibleName,
                            QWidget* parent) {
    auto* picker = named(new QDateEdit(date, parent), name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(day_key_format());
    picker->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    picker->setAccessibleName(accessibleName);
    picker->setEnabled(false);
    return picker;
}

} // namespace

TF_find_uncomplete::TF_find_uncomplete(WindowRegistry& reg, QWidget* parent) : TF_find(reg, parent) {
    setObjectName(QStringLiteral("TF_find_uncomplete"));
    setWindowTitle(QStringLiteral("Find uncompleted"));

    const QDate today = QDate::currentDate();
    CB_0 = named(new QCheckBox(QStringLiteral("Lower date limit"), this), "CB_0");
    DatePicker0 =
        make_date_picker("DatePicker0", today.addDays(-1), QStringLiteral("Lower date limit"), this);
    CB_1 = named(new QCheckBox(QStringLiteral("Upper date limit"), this), "CB_1");
    DatePicker1 = make_date_picker("DatePicker1", today, QStringLiteral("Upper date limit"), this);

    auto* limits = new QGridLayout();
    limits->addWidget(CB_0, 0, 0);
    limits->addWidget(DatePicker0, 1, 0);
    limits->addWidget(CB_1, 0, 1);
    limits->addWidget(DatePicker1, 1, 1);
    limits->setColumnStretch(2, 1);
    limits->setHorizontalSpacing(24);
    InputBand()->addLayout(limits);

    set_tab_order({CB_0, DatePicker0, CB_1, DatePicker1, LV1});

    connect(CB_0, &QCheckBox::toggled, DatePicker0, &QWidget::setEnabled);
    connect(CB_1, &QCheckBox::toggled, DatePicker1, &QWidget::setEnabled);
}

void TF_find_uncomplete::PrepareSearch() {
    limits_ = {};
    if (CB_0->isChecked()) limits_.lower = DatePicker0->date();
    if (CB_1->isChecked()) limits_.upper = DatePicker1->date();
    lastKnown_ = false;
}

bool TF_find_uncomplete::ItemMatches(const TNoxPigger& item, const TNoxPigger& day) {
    if (!find_rules::is_uncompleted(item)) return false;
    if (!limits_.lower && !limits_.upper) return true;
    const std::string& key = find_rules::attr_value(day, todo::kDateAttr);
    if (!lastKnown_ || key != lastKey_) {
        lastKey_ = key;
        lastWithin_ = find_rules::day_within(key, limits_);
        lastKnown_ = true;
    }
    return lastWithin_;
}

void TF_find_uncomplete::FocusInput() {
    Btn_start->setFocus();
}
