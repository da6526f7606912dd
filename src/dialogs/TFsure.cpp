#include "dialogs/TFsure.h"

#include "ui/WidgetHelpers.h"
#include "ui/WrapText.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFsure::TFsure(WindowRegistry& reg, QWidget* parent) : QDialog(parent), reg_(reg) {
    setObjectName(QStringLiteral("TFsure"));
    setWindowTitle(QStringLiteral("Confirmation:"));

    Panel_question = make_sunken_panel("Panel_question", this);
    Label_question = make_wrapped_label("Label_question", Panel_question);

    extraLayout_ = new QVBoxLayout;
    extraLayout_->setContentsMargins(0, 0, 0, 0);

    Btn_yes = make_button("Btn_yes", QStringLiteral("Yes"), this);
    Btn_yes->setDefault(true);
    Btn_no = make_button("Btn_no", QStringLiteral("No"), this);
    QHBoxLayout* buttons = button_row({Btn_yes, Btn_no}, RowAlign::Center);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel_question, 1);
    layout->addLayout(extraLayout_);
    layout->addLayout(buttons);

    connect(Btn_yes, &QPushButton::clicked, this, &TFsure::Btn_yesClick);
    // "No", Esc and the close box all reject and leave the answer false.
    connect(Btn_no, &QPushButton::clicked, this, &QDialog::reject);

    setFixedWidth(380);
    SetQuestion(QString());
}

bool TFsure::AskYesNo(const QString& question) {
    Answer = false;
    SetQuestion(question);
    Btn_yes->setFocus();
    exec();
    return Answer;
}

void TFsure::SetQuestion(const QString& question) {
    Label_question->setText(breakable_text(question));
    fit_wrapped_label(this, Panel_question, Label_question);
}

void TFsure::Btn_yesClick() {
    Answer = true;
    accept();
}
