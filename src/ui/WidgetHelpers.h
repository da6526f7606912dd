// Small pieces every window is built from: named controls, button rows, the data file chooser.
#pragma once

#include <QKeySequence>
#include <QString>
#include <initializer_list>

class QAbstractItemView;
class QAction;
class QFrame;
class QHBoxLayout;
class QLabel;
class QObject;
class QPushButton;
class QWidget;

// Controls carry their names as objectName, so tests and the report converter find them.
template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QAction* make_action(QObject* parent, const char* name, const QString& text, const QKeySequence& key = {});
QPushButton* make_button(const char* name, const QString& text, QWidget* parent);
// A label showing its text as plain text, never as markup.
QLabel* make_label(const char* name, const QString& text, QWidget* parent);
// A sunken panel, the frame around a question or message.
QFrame* make_sunken_panel(const char* name, QWidget* parent);

// A dialog's row of buttons, centred or pushed to the right edge.
enum class RowAlign { Center, Right };
QHBoxLayout* button_row(std::initializer_list<QWidget*> buttons, RowAlign align);

// Tab moves through the controls in the order given.
void set_tab_order(std::initializer_list<QWidget*> chain);

// Keeps the selected rows highlighted while another control has the focus.
void keep_selection_visible(QAbstractItemView* view);

// "../dat" relative to the current directory, created when missing: where data files are chosen.
QString dat_folder();

// The platform file chooser for a data file. Gives the chosen file, or the empty string when cancelled.
enum class DataFileChoice { Open, Save };
QString choose_data_file(QWidget* parent, DataFileChoice choice, const QString& title,
                         const QString& dialogName, const QString& proposed = {});
