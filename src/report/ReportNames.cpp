#include "report/ReportNames.h"

#include "markup/NoxPigger.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace {

// The values are the Windows character set codes the report library knows fonts by.
constexpr std::array<std::pair<const char*, int>, 18> kCharsets{{
    {"ANSI", 0},
    {"DEFAULT", 1},
    {"SYMBOL", 2},
    {"SHIFTJIS", 128},
    {"GB2312", 134},
    {"HANGEUL", 129},
    {"CHINESEBIG5", 136},
    {"OEM", 255},
    {"JOHAB", 130},
    {"HEBREW", 177},
    {"ARABIC", 178},
    {"GREEK", 161},
    {"TURKISH", 162},
    {"THAI", 222},
    {"EASTEUROPE", 238},
    {"RUSSIAN", 204},
    {"MAC", 77},
    {"BALTIC", 186},
}};

struct NamedColor {
    const char* name;
    int r, g, b;
};
constexpr std::array<NamedColor, 11> kColors{{
    {"BLACK", 0x00, 0x00, 0x00},
    {"RED", 0xFF, 0x00, 0x00},
    {"GREEN", 0x00, 0xFF, 0x00},
    {"BLUE", 0x00, 0x00, 0xFF},
    {"WHITE", 0xFF, 0xFF, 0xFF},
    {"MAGENTA", 0xFF, 0x00, 0xFF},
    {"YELLOW", 0xFF, 0xFF, 0x00},
    {"CYAN", 0x00, 0xFF, 0xFF},
    {"LIGHTGRAY", 0xE0, 0xE0, 0xE0},
    {"DARKGRAY", 0x80, 0x80, 0x80},
    {"GRAY", 0xB0, 0xB0, 0xB0},
}};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The one or two characters at `from` read as a hexadecimal number; 0 when missing or not hexadecimal.
int HexPart(const std::string& text, size_t from) {
    if (from >= text.size()) return 0;
    int value = 0;
    for (size_t i = from; i < std::min(text.size(), from + 2); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0) return 0;
        value = value * 16 + d;
    }
    return value;
}

} // namespace

int CharsetFromName(const std::string& name, int defaultValue) {
    for (const auto& [entry, value] : kCharsets)
        if (SameTextAscii(name, entry)) return value;
    return defaultValue;
}

std::string CharsetToName(int value) {
    for (const auto& [entry, code] : kCharsets)
        if (code == value) return entry;
    return {};
}

QColor ColorFromText(const std::string& text, const QColor& defaultColor) {
    if (text.empty()) return defaultColor;
    if (text[0] == '#') return QColor(HexPart(text, 1), HexPart(text, 3), HexPart(text, 5));
    for (const NamedColor& c : kColors)
        if (SameTextAscii(text, c.name)) return QColor(c.r, c.g, c.b);
    return defaultColor;
}

std::string ColorToText(const QColor& color) {
    const QColor rgb = color.toRgb();
    char out[8];
    std::snprintf(out, sizeof out, "#%02X%02X%02X", rgb.red(), rgb.green(), rgb.blue());
    return out;
}
