#include "search/TF_find_context.h"

#include "ui/WidgetHelpers.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TF_find_context::TF_find_context(WindowRegistry& reg, QWidget* parent) : TF_find(reg, parent) {
    setObjectName(QStringLiteral("TF_find_context"));
    setWindowTitle(QStringLiteral("Find context"));

    Label1 = make_label("Label1", QStringLiteral("Context to search:"), this);
    Edit1 = named(new QLineEdit(this), "Edit1");
    Label1->setBuddy(Edit1);
    GroupBox1 = named(new QGroupBox(QStringLiteral("Search area"), this), "GroupBox1");
    CB_item = named(new QCheckBox(QStringLiteral("Item text"), GroupBox1), "CB_item");
    CB_item->setChecked(true);
    CB_dsc = named(new QCheckBox(QStringLiteral("Description"), GroupBox1), "CB_dsc");
    auto* area = new QHBoxLayout(GroupBox1);
    area->addWidget(CB_item);
    area->addWidget(CB_dsc);
    area->addStretch(1);

    InputBand()->addWidget(Label1);
    InputBand()->addWidget(Edit1);
    InputBand()->addWidget(GroupBox1);

    set_tab_order({Edit1, CB_item, CB_dsc, LV1});

    connect(Edit1, &QLineEdit::textChanged, this, &TF_find_context::UpdateStart);
    connect(CB_item, &QCheckBox::toggled, this, &TF_find_context::UpdateStart);
    connect(CB_dsc, &QCheckBox::toggled, this, &TF_find_context::UpdateStart);
    UpdateStart();
}

bool TF_find_context::can_start() const {
    return find_rules::context_can_start(Edit1->text(), CB_item->isChecked(), CB_dsc->isChecked());
}

void TF_find_context::PrepareSearch() {
    needle_ = find_rules::context_needle(Edit1->text(), QLocale());
    inText_ = CB_item->isChecked();
    inDescription_ = CB_dsc->isChecked();
}

bool TF_find_context::ItemMatches(const TNoxPigger& item, const TNoxPigger&) {
    return find_rules::context_matches(item, needle_, inText_, inDescription_);
}

void TF_find_context::FocusInput() {
    Edit1->setFocus();
    Edit1->selectAll();
}
