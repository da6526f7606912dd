#include "app/TF_new_todolist.h"

#include "app/TForm_main.h"
#include "todo/rules/DayKeys.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowRegistry.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_new_todolist::TF_new_todolist(WindowRegistry& reg, QWidget* parent) : TFsure(reg, parent) {
    setObjectName(QStringLiteral("F_new_todolist"));
    // Here the question stands out above the file it concerns.
    QFont bold = Label_question->font();
    bold.setBold(true);
    Label_question->setFont(bold);

    Label_file = named(new QLabel(QStringLiteral("Filename to save To Do List data:"), this), "Label_file");
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setMinimumWidth(280);
    Label_file->setBuddy(Edit1);
    SB_file_name = make_button("SB_file_name", QStringLiteral("Change..."), this);
    SB_file_name->setAutoDefault(false);
    Btn_help = make_button("Btn_help", QStringLiteral("Help"), this);
    Btn_help->setAutoDefault(false);

    auto* row = new QHBoxLayout();
    row->addWidget(Edit1, 1);
    row->addWidget(SB_file_name);
    auto* helpRow = new QHBoxLayout();
    helpRow->addStretch(1);
    helpRow->addWidget(Btn_help);
    ExtraLayout()->addWidget(Label_file);
    ExtraLayout()->addLayout(row);
    ExtraLayout()->addLayout(helpRow);

    set_tab_order({Edit1, SB_file_name, Btn_help});

    connect(SB_file_name, &QPushButton::clicked, this, &TF_new_todolist::SB_file_nameClick);
    connect(Btn_help, &QPushButton::clicked, this,
            [this] { reg_.shell->ShowHelp(QStringLiteral("new_todolist")); });

    ChooseFile = [this](const QString& current) {
        return choose_data_file(this, DataFileChoice::Save, QStringLiteral("Save as"),
                                QStringLiteral("SaveDialog1"), current);
    };
}

QString TF_new_todolist::ProposedFileName() {
    QString text = QStringLiteral("todo-") + QString::fromStdString(render_day_key(QDate::currentDate()));
    for (QChar c : {QChar(u'.'), QChar(u'/'), QChar(u'\\')})
        text.replace(c, u'-');
    return QStringLiteral("../dat/") + text + QStringLiteral(".dat");
}

QString TF_new_todolist::AskNewFileName() {
    Edit1->setText(ProposedFileName());
    if (!AskYesNo(QStringLiteral("New To Do List will be created. Continue?"))) return {};
    return Edit1->text();
}

void TF_new_todolist::SB_file_nameClick() {
    const QString chosen = ChooseFile(Edit1->text());
    if (!chosen.isEmpty()) Edit1->setText(chosen);
}
