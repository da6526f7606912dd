#include "ui/WidgetHelpers.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

QAction* make_action(QObject* parent, const char* name, const QString& text, const QKeySequence& key) {
    auto* a = named(new QAction(text, parent), name);
    if (!key.isEmpty()) a->setShortcut(key);
    return a;
}

QPushButton* make_button(const char* name, const QString& text, QWidget* parent) {
    return named(new QPushButton(text, parent), name);
}

QLabel* make_label(const char* name, const QString& text, QWidget* parent) {
    auto* label = named(new QLabel(text, parent), name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QFrame* make_sunken_panel(const char* name, QWidget* parent) {
    auto* panel = named(new QFrame(parent), name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    return panel;
}

QHBoxLayout* button_row(std::initializer_list<QWidget*> buttons, RowAlign align) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* b : buttons)
        row->addWidget(b);
    if (align == RowAlign::Center) row->addStretch(1);
    return row;
}

void set_tab_order(std::initializer_list<QWidget*> chain) {
    QWidget* previous = nullptr;
    for (QWidget* w : chain) {
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void keep_selection_visible(QAbstractItemView* view) {
    QPalette palette = view->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    view->setPalette(palette);
}

QString dat_folder() {
    const QString dir = QDir::current().filePath(QStringLiteral("../dat"));
    QDir().mkpath(dir);
    return QDir::cleanPath(dir);
}

QString choose_data_file(QWidget* parent, DataFileChoice choice, const QString& title,
                         const QString& dialogName, const QString& proposed) {
    QFileDialog dialog(parent, title, dat_folder());
    dialog.setObjectName(dialogName);
    if (choice == DataFileChoice::Open) {
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters({QStringLiteral("Data files (*.dat)"),
                               QStringLiteral("Backup files (*.bak *.BAK)"),
                               QStringLiteral("All files (*)")});
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("dat"));
        dialog.setNameFilters({QStringLiteral("Data files (*.dat)"), QStringLiteral("All files (*)")});
    }
    if (!proposed.isEmpty()) {
        // A proposal in an existing folder wins over the initial one; otherwise only its name is kept.
        const QFileInfo field(proposed);
        dialog.selectFile(field.dir().exists() ? field.absoluteFilePath() : field.fileName());
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
