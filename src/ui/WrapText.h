// Text for word-wrapped labels: a label breaks lines only between words, so one long word (a path, a
// web address) would widen the window. Long runs get invisible break chances between their characters.
#pragma once

#include <QString>

class QFrame;
class QLabel;
class QWidget;

// The text with a zero-width space at each character boundary inside runs of more than 20 characters
// without white space; it looks the same and wraps anywhere in such runs.
QString breakable_text(const QString& text);
// The displayed text without those break chances.
QString without_break_chances(QString text);

// A word-wrapped plain-text label, placed in the frame's new layout inside a frameless scroll area that
// scrolls only vertically.
QLabel* make_wrapped_label(const char* name, QFrame* frame);

// Fits a fixed-width window's height to a word-wrapped label in a frame that lies directly in the
// window's layout (placed there by make_wrapped_label). Before the window is shown its layout does not
// learn the label's height by itself. Beyond three fifths of the screen's height the label scrolls.
void fit_wrapped_label(QWidget* window, QFrame* frame, QLabel* label);
