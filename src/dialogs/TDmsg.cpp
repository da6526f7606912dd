#include "dialogs/TDmsg.h"

#include "ui/WidgetHelpers.h"
#include "ui/WrapText.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TDmsg::TDmsg(WindowRegistry&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TDmsg"));
    setWindowTitle(QStringLiteral("Message:"));

    Panel_message = make_sunken_panel("Panel_message", this);
    Label_message = make_wrapped_label("Label_message", Panel_message);

    Btn_ok = make_button("Btn_ok", QStringLiteral("OK"), this);
    Btn_ok->setDefault(true);
    QHBoxLayout* buttons = button_row({Btn_ok}, RowAlign::Center);

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
