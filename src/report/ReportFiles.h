// Small text utilities of the print dialogs: image data as hexadecimal, and writing the report file.
#pragma once

#include <string>
#include <string_view>

// Two upper-case hexadecimal digits a byte, high digit first, no separators.
std::string HexEncode(std::string_view bytes);

// Writes the text's bytes as the whole file, crash-safely (a temporary file renamed over it). A file the
// user made read-only is made writable first. Throws EStreamError when the file cannot be written.
void WriteTextFile(const std::string& fileName, const std::string& text);
