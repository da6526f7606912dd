#include "ui/TRadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(const QString& name, const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(name + u'_' + QString::number(i));
        group_->addButton(b, i);
        layout->addWidget(b);
        buttons_.append(b);
    }
    layout->addStretch(1);
    // Only a choice that changes counts: a click on the button already chosen writes nothing back, so
    // an unrecognised stored value survives it. Filling the group from code does not count either.
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !filling_) emit Click(id);
    });
}

int TRadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    const bool wasFilling = filling_;
    filling_ = true;
    if (QRadioButton* b = Button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = group_->checkedButton()) {
        // An exclusive group refuses to clear its last choice; lift that for a moment.
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
    }
    filling_ = wasFilling;
}
