// "Find uncompleted": the items not done, optionally only of the days between two dates; the
// date-independent list's items whatever the dates.
#pragma once

#include "search/FindRules.h"
#include "search/TF_find.h"

#include <string>

class QCheckBox;
class QDateEdit;

class TF_find_uncomplete final : public TF_find {
    Q_OBJECT
public:
    explicit TF_find_uncomplete(WindowRegistry& reg, QWidget* parent = nullptr);

    bool ItemMatches(const TNoxPigger& item, const TNoxPigger& day) override;

    QCheckBox* CB_0 = nullptr;
    QDateEdit* DatePicker0 = nullptr;
    QCheckBox* CB_1 = nullptr;
    QDateEdit* DatePicker1 = nullptr;

protected:
    void PrepareSearch() override;
    QString HelpTopic() const override { return QStringLiteral("find_uncomplete"); }
    void FocusInput() override;

private:
    find_rules::DateLimits limits_;
    // The last day's key and whether it lay within the limits: a day's items come one after another.
    std::string lastKey_;
    bool lastWithin_ = true;
    bool lastKnown_ = false;
};
