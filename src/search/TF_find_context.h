// "Find context": the items whose text or description contains a given text, whatever its case.
#pragma once

#include "search/FindRules.h"
#include "search/TF_find.h"

#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

class TF_find_context final : public TF_find {
    Q_OBJECT
public:
    explicit TF_find_context(WindowRegistry& reg, QWidget* parent = nullptr);

    bool ItemMatches(const TNoxPigger& item, const TNoxPigger& day) override;
    bool can_start() const;

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* CB_item = nullptr;
    QCheckBox* CB_dsc = nullptr;

protected:
    void PrepareSearch() override;
    bool CanStart() const override { return can_start(); }
    QString HelpTopic() const override { return QStringLiteral("find_context"); }
    void FocusInput() override;

private:
    find_rules::ContextNeedle needle_;
    bool inText_ = true;
    bool inDescription_ = false;
};
