#include "TFsure.h"

#include "WrapText.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFsure::TFsure(WindowRegistry& reg, QWidget* parent) : QDialog(parent), reg_(reg) {
    setObjectName(QStringLiteral("TFsure"));
    setWindowTitle(QStringLiteral("Confirmation:"));

    Panel_question = new QFrame(this);
    Panel_question->setObjectName(QStringLiteral("Panel_question"));
    Panel_question->setFrameShape(QFrame::StyledPanel);
    Panel_question->setFrameShadow(QFrame::Sunken);
    Label_question = new QLabel(Panel_question);
    Label_question->setObjectName(QStringLiteral("Label_question"));
    // Item texts come from the user's data: never read them as markup.
    Label_question->setTextFormat(Qt::PlainText);
    Label_question->setWordWrap(true);
    Label_question->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place_wrapped_label(Panel_question, Label_question);

    extraLayout_ = new QVBoxLayout;
    extraLayout_->setContentsMargins(0, 0, 0, 0);

    Btn_yes = new QPushButton(QStringLiteral("Yes"), this);
    Btn_yes->setObjectName(QStringLiteral("Btn_yes"));
    Btn_yes->setDefault(true);
    Btn_no = new QPushButton(QStringLiteral("No"), this);
    Btn_no->setObjectName(QStringLiteral("Btn_no"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Btn_yes);
    buttons->addWidget(Btn_no);
    buttons->addStretch(1);

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
