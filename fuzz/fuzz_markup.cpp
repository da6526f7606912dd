// Feeds bytes through the file-loading path of the markup library. A text that parses is written,
// read again and written again: the second text must equal the first, except for what the text form
// is known to drop (white space at the ends of an element's text, elements with an empty tag).
#include "markup/NoxPigger.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Every line carries its indent, so the written size grows with depth times element count; deeper
// trees are only read and freed.
constexpr int kMaxWrittenDepth = 2000;

// What a write and a read may change: the writer leaves TAB, CR, LF and space unescaped and the parser
// trims them off the ends of a text run; and an element with an empty tag is not written at all, nor
// its children (a "<>" in the input makes one).
void AsReadBack(TNoxPigger& root) {
    auto outer = [](char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; };
    std::vector<TNoxPigger*> work{&root};
    while (!work.empty()) {
        TNoxPigger* e = work.back();
        work.pop_back();
        for (int i = e->ChildCount() - 1; i >= 0; --i)
            if (e->Child(i)->TagName().empty()) delete e->Child(i);
        const std::string_view t = e->Text;
        size_t b = 0, n = t.size();
        while (b < n && outer(t[b]))
            ++b;
        while (n > b && outer(t[n - 1]))
            --n;
        e->Text = t.substr(b, n - b);
        for (TNoxPigger* c : e->Children())
            work.push_back(c);
    }
}

[[noreturn]] void Fail(const char* what, const std::string& a, const std::string& b) {
    std::fprintf(stderr, "%s\n--- expected (%zu bytes)\n%s\n--- got (%zu bytes)\n%s\n", what, a.size(),
                 a.c_str(), b.size(), b.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = NormalizeLineBreaks(std::string(reinterpret_cast<const char*>(data), size));
    TNoxPigger root;
    try {
        root.SetText(text);
    } catch (const ENoxPiggerError& e) {
        if (e.Position < 1 || static_cast<size_t>(e.Position) > text.size() + 1)
            Fail("error position outside the text", std::to_string(text.size()), std::to_string(e.Position));
        return 0;
    }
    if (TreeHeight(root) > kMaxWrittenDepth) return 0;

    const std::string first = root.GetText();
    if (root.TextSize() != first.size())
        Fail("size worked out differs from the text", std::to_string(root.TextSize()),
             std::to_string(first.size()));
    TNoxPigger again;
    try {
        again.SetText(first);
    } catch (const ENoxPiggerError& e) {
        Fail("written text does not parse", first,
             e.what() + std::string(" at ") + std::to_string(e.Position));
    }
    AsReadBack(root);
    const std::string expected = root.GetText();
    const std::string second = again.GetText();
    if (second != expected) Fail("text changed on a second write", expected, second);

    TNoxPigger copy;
    copy.Assign(again);
    if (copy.GetText() != second) Fail("copy differs", second, copy.GetText());
    return 0;
}
