#include "TDmsg.h"

#include "WrapText.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TDmsg::TDmsg(WindowRegistry&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TDmsg"));
    setWindowTitle(QStringLiteral("Message:"));

    Panel_message = new QFrame(this);
    Panel_message->setObjectName(QStringLiteral("Panel_message"));
    Panel_message->setFrameShape(QFrame::StyledPanel);
    Panel_message->setFrameShadow(QFrame::Sunken);
    Label_message = new QLabel(Panel_message);
    Label_message->setObjectName(QStringLiteral("Label_message"));
    Label_message->setTextFormat(Qt::PlainText);
    Label_message->setWordWrap(true);
    Label_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label_message->setAutoFillBackground(false);
    place_wrapped_label(Panel_message, Label_message);

    Btn_ok = new QPushButton(QStringLiteral("OK"), this);
    Btn_ok->setObjectName(QStringLiteral("Btn_ok"));
    Btn_ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Btn_ok);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel_message, 1);
    layout->addLayout(buttons);

    connect(Btn_ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedWidth(380);
    SetMessage(QString());
}

void TDmsg::ShowMessageText(const QString& message) {
    SetMessage(message);
    Btn_ok->setFocus();
    exec();
}

void TDmsg::SetMessage(const QString& message) {
    Label_message->setText(breakable_text(message));
    fit_wrapped_label(this, Panel_message, Label_message);
}
