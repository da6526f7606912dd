// The text of a control as report bytes. Controls show QString; the item behind them holds bytes, and a
// text that is not valid UTF-8 must reach the report as the item's own bytes, not as replacement marks.
#pragma once

#include <QString>

#include <string>
#include <vector>

class QWidget;

// Shows bytes in a label, button, line edit, editable combo box or multi-line box and remembers them, so
// the report writes these bytes for as long as the control still shows their text.
void SetControlBytes(QWidget& control, const std::string& bytes);

// The bytes of the text a control shows: the remembered bytes while the shown text is theirs, otherwise
// the shown text converted the program's usual way.
std::string ControlBytes(const QWidget& control, const QString& shown);

// The lines of a QPlainTextEdit or QTextEdit as the box lays them out at its width, wrapped lines counted,
// as bytes. A last line that is empty is left out, so an empty box has no lines. Works on hidden boxes.
// The width is the box's viewport less a vertical scroll bar only when that is always on: templates
// turn scroll bars off, so a bar that comes and goes with the text never narrows their lines.
std::vector<std::string> LaidOutLines(const QWidget& box);
