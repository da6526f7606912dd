// The markup element tree, its text form, and the value escaping shared with the report writer.
#pragma once

#include "markup/TMarkupString.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class TMarkupArena;

// A parse error, with the 1-based position in the parsed text where it was found.
class ENoxPiggerError : public std::runtime_error {
public:
    ENoxPiggerError(const std::string& message, int32_t position)
        : std::runtime_error(message), Position(position) {}
    int32_t Position;
};

// A file or stream could not be opened, created, read or written.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An index outside a list, as raised by MoveChild.
class EListError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

std::string MarkupEncode(const std::string& s);
std::string MarkupDecode(const std::string& s);

// ASCII-only helpers: names are upper-cased and compared without regard to the locale's letters.
std::string AsciiUpper(std::string s);
bool SameTextAscii(const std::string& a, const std::string& b);

// One element of a markup document. What a load or a copy builds (names, values, texts, the lists of
// attributes and children) lies in storage shared by the elements it built, freed with the last of them;
// what callers assign is owned by the element itself.
class TNoxPigger {
public:
    using Attribute = std::pair<TMarkupString, TMarkupString>;
    // The attributes in order; valid until the element's attributes next change.
    class AttributeList : public std::span<const Attribute> {
    public:
        using std::span<const Attribute>::span;
        friend bool operator==(AttributeList a, AttributeList b) {
            return std::equal(a.begin(), a.end(), b.begin(), b.end());
        }
    };
    // The children in order; valid until the element's children next change.
    using ChildList = std::span<TNoxPigger* const>;

    explicit TNoxPigger(TNoxPigger* parent = nullptr);
    virtual ~TNoxPigger();
    TNoxPigger(const TNoxPigger&) = delete;
    TNoxPigger& operator=(const TNoxPigger&) = delete;

    // A document is tens of thousands of elements: they come from a pool of equal blocks, which is
    // far cheaper than the general heap. Subclasses of another size use the general heap.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    // Text content, decoded; callers read and assign it directly.
    TMarkupString Text;

    const std::string& TagName() const { return tag_; }
    void SetTagName(const std::string& name);

    // CR LF followed by one TAB per level below the root. Derived from the depth, never stored,
    // so a deep tree costs no memory for it.
    std::string Indent() const;
    int Depth() const;

    TNoxPigger* Parent() const { return parent_; }
    // Moves this element (with its subtree) to the end of another parent's children, or detaches it.
    // Throws std::logic_error when the new parent is this element or one of its descendants.
    void SetParent(TNoxPigger* parent);

    // Frees all children and empties tag, text and attributes; parent is kept.
    virtual void Clear();

    // Children (owned). New children are appended at the end.
    int ChildCount() const { return static_cast<int>(children_.size); }
    TNoxPigger* Child(int index) const;
    int IndexOfChild(const TNoxPigger* child) const;
    ChildList Children() const { return {children_.data, children_.size}; }
    TNoxPigger* AddChild(const std::string& tagName);
    void MoveChild(int currentIndex, int newIndex);

    // Attributes, in order of first setting. The parser may store duplicates; lookups find the first.
    AttributeList Attributes() const { return {attrs_.data, attrs_.size}; }
    int AttrCount() const { return static_cast<int>(attrs_.size); }
    const TMarkupString& AttrName(int i) const { return attrs_.data[i].first; }
    const TMarkupString& AttrValue(int i) const { return attrs_.data[i].second; }
    std::string GetAttr(const std::string& name) const;
    void SetAttr(const std::string& name, const std::string& value);
    void DeleteAttr(const std::string& name);
    // Appends without a uniqueness check, as the parser does.
    void AppendAttr(const std::string& name, const std::string& value);

    TNoxPigger* FindChild(const std::string& tagName) const;
    TNoxPigger* FindChildByAttr(const std::string& attrName, const std::string& value) const;
    TNoxPigger* FindNextSibling(const TNoxPigger* child) const;

    // Deep copy of the source's tag, text, attributes and children; Parent stays as it is. The source
    // may lie inside this element's subtree or above it.
    virtual void Assign(const TNoxPigger& source);

    // Text form. SetText takes its own copy: the text may well be a value inside the tree it clears.
    virtual void SetText(std::string text);
    // The text form; throws EStreamError when it would take more than kMaxTextSize bytes. A tree whose
    // indents alone could take that much (a deep one) is measured and refused before any of it is built.
    virtual std::string GetText() const;
    // The length of the text form, worked out without building it.
    size_t TextSize() const;
    void SaveToStream(std::ostream& stream) const;
    void SaveToFile(const std::string& fileName) const;
    void LoadFromStream(std::istream& stream);
    void LoadFromFile(const std::string& fileName);

    // Parses one element starting the search for its "<" at the 1-based position; leaves the position
    // just after the element. Children are read by the same loop, not by calls of their own
    // ParseElement, so depth never grows the machine stack; subclasses shape children through the hooks.
    virtual void ParseElement(const std::string& text, int32_t& position);

    // Parser hooks.
    virtual TNoxPigger* CreateChildFor(const std::string& tagName);
    virtual void ChildParsed(TNoxPigger* child);
    virtual bool AcceptText(const std::string& text);
    // Raises every parse error. An override may record or translate it; parsing stops either way.
    virtual void Error(const std::string& message, int32_t position);
    [[noreturn]] void SyntaxError(int32_t position);
    [[noreturn]] void RaiseError(const std::string& message, int32_t position);

protected:
    // Constructs an element of this element's own class; Assign uses it so copies keep their classes.
    virtual TNoxPigger* NewInstance(TNoxPigger* parent) const;

    // The parser, the copy and the writer reach the storage directly.
    friend struct ElementStorage;
    friend struct TextWriter;

private:
    // A list that lies in the shared storage or, once it had to grow beyond it, on the heap.
    template <typename T> struct Slots {
        T* data = nullptr;
        uint32_t size = 0;
        uint32_t capacity = 0;
        bool onHeap = false;
    };

    const TMarkupString* FindAttr(std::string_view upperName) const;
    void Detach();
    void FreeChildren();
    void FreeAttributes() noexcept;
    // Moves this element's strings and lists out of the storage they share into arena (or onto the
    // heap when there is none), so they no longer depend on the storage they came from.
    void MoveStorageTo(TMarkupArena* arena);
    // After a move into another tree: every element of this subtree whose storage is not that of the
    // tree's root takes its strings and lists onto the heap, so they go when the element goes.
    void KeepStorageWithRoot();

    std::string tag_;
    TNoxPigger* parent_ = nullptr;
    TMarkupArena* arena_ = nullptr; // where this element's shared strings and lists lie, if anywhere
    Slots<Attribute> attrs_;
    Slots<TNoxPigger*> children_;
};

// The largest text the library reads or writes: a list never comes near it, a pathological tree would
// take minutes and all memory to write.
inline constexpr size_t kMaxTextSize = size_t{1} << 30;

// Depth of the deepest element below the root (0 for a root without children), walked without recursion.
int TreeHeight(const TNoxPigger& root);

// The text a file or stream load hands to the parser: cut at the first NUL, every CR LF, lone CR and
// lone LF made a CR LF, and a CR LF after the last line.
std::string NormalizeLineBreaks(const std::string& bytes);

// Reads a whole file (or named pipe) as bytes; throws EStreamError "Cannot open file %s: REASON" or
// "Cannot read file %s: REASON". Devices and folders are refused, and so is more than kMaxTextSize bytes.
std::string ReadFileBytes(const std::string& fileName);

// Writes bytes crash-safely: a temporary file in the same folder, flushed to disk, renamed over the
// target. Throws EStreamError "Cannot create file %s: REASON" or a write error; the target is then untouched.
void WriteFileAtomically(const std::string& fileName, const std::string& bytes);
