#include "TF_new_todolist.h"

#include "DayKeys.h"
#include "TForm_main.h"
#include "WindowRegistry.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

    Label_file = new QLabel(QStringLiteral("Filename to save To Do List data:"), this);
    Label_file->setObjectName(QStringLiteral("Label_file"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setMinimumWidth(280);
    Label_file->setBuddy(Edit1);
    SB_file_name = new QPushButton(QStringLiteral("Change..."), this);
    SB_file_name->setObjectName(QStringLiteral("SB_file_name"));
    SB_file_name->setAutoDefault(false);
    Btn_help = new QPushButton(QStringLiteral("Help"), this);
    Btn_help->setObjectName(QStringLiteral("Btn_help"));
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

    setTabOrder(Edit1, SB_file_name);
    setTabOrder(SB_file_name, Btn_help);

    connect(SB_file_name, &QPushButton::clicked, this, &TF_new_todolist::SB_file_nameClick);
    connect(Btn_help, &QPushButton::clicked, this, [this] {
        if (reg_.shell) reg_.shell->ShowHelp(QStringLiteral("new_todolist"));
    });

    ChooseFile = [this](const QString& current) {
        const QString dir = QDir::current().filePath(QStringLiteral("../dat"));
        QDir().mkpath(dir);
        QFileDialog dialog(this, QStringLiteral("Save as"), QDir::cleanPath(dir));
        dialog.setObjectName(QStringLiteral("SaveDialog1"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("dat"));
        dialog.setNameFilters({QStringLiteral("Data files (*.dat)"), QStringLiteral("All files (*)")});
        // The field's own folder wins over the initial one once the user has picked another.
        const QFileInfo field(current);
        dialog.selectFile(field.dir().exists() ? field.absoluteFilePath() : field.fileName());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
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
