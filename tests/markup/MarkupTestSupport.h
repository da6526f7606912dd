// Small helpers shared by the markup tests.
#pragma once

#include "markup/NoxPigger.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace markup_test {

// Joins lines with CR LF between them (none after the last), as the writer lays out its text.
inline std::string CrLfLines(std::initializer_list<std::string> lines) {
    std::string out;
    bool first = true;
    for (const std::string& line : lines) {
        if (!first) out += "\r\n";
        out += line;
        first = false;
    }
    return out;
}

// The tags of an element's children, in order.
inline std::vector<std::string> ChildTags(const TNoxPigger& e) {
    std::vector<std::string> tags;
    for (const TNoxPigger* c : e.Children())
        tags.push_back(c->TagName());
    return tags;
}

} // namespace markup_test
