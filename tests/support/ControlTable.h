// One table-driven check of a window's controls: each row names a control (or action) by objectName and
// says what it must show. Rows leave out what they do not check.
#pragma once

#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <optional>

class QLabel;
class QObject;
class QWidget;

struct ControlRow {
    const char* name;
    std::optional<QString> text = {}; // button, label, check box, action, group title, line edit
    std::optional<bool> enabled = {};
    std::optional<QString> hint = {};     // tool tip
    std::optional<QKeySequence> key = {}; // an action's shortcut
    std::optional<bool> isDefault = {};   // a push button's default state
    std::optional<bool> checked = {};     // a check box or radio button
};

// Finds every row's control below the window and checks what the row asks.
void ExpectControls(const QObject& window, std::initializer_list<ControlRow> rows);

// The named controls in the order Tab reaches them from the first.
QStringList tab_chain(QWidget* first, const QStringList& names);

// The width a word-wrapped label's text needs at the label's width: no more than the label's own when
// every line fits.
int wrapped_width(const QLabel* label);
