// The name tables of character sets and colours that print settings are written with.
#pragma once

#include <QColor>

#include <string>

// The character set code of a name (any case), or the default when no entry has that name.
int CharsetFromName(const std::string& name, int defaultValue);
// The name of the first entry with that code, or an empty string.
std::string CharsetToName(int value);

// A colour from "#RRGGBB" (a missing or non-hexadecimal part counts as 0) or from a colour name (any case);
// the default for an empty text or a name not in the table.
QColor ColorFromText(const std::string& text, const QColor& defaultColor);
// "#RRGGBB" in upper-case hexadecimal.
std::string ColorToText(const QColor& color);
