#include "markup/NoxPigger.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <memory>
#include <mutex>
#include <ostream>
#include <tuple>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct ParserAccess {
    static std::string& Tag(TNoxPigger& e) { return e.tag_; }
    static std::vector<TNoxPigger::Attribute>& Attrs(TNoxPigger& e) { return e.attrs_; }
    static std::vector<TNoxPigger*>& Children(TNoxPigger& e) { return e.children_; }
};

// ---- element pool ----

// AddressSanitizer must see every element freed on its own to find a use after free.
#if defined(__SANITIZE_ADDRESS__)
#define QM_ELEMENT_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_ELEMENT_POOL 0
#endif
#endif
#ifndef QM_ELEMENT_POOL
#define QM_ELEMENT_POOL 1
#endif

#if QM_ELEMENT_POOL
namespace {

struct FreeBlock {
    FreeBlock* next;
};

constexpr size_t kBlocksPerSlab = 512;

// Each thread keeps its own free list, so the common path takes no lock. A block freed on another
// thread than the one that took it simply joins that thread's list.
struct LocalPool {
    FreeBlock* head = nullptr;
    bool ended = false;      // the thread is past its own clean-up; frees go to the shared list
    bool registered = false; // the clean-up below is set to run when the thread ends
};
thread_local LocalPool localPool;

// Blocks of threads that have ended, for any thread to take; never destroyed, since a thread may end
// after the statics are gone.
struct SharedPool {
    std::mutex lock;
    FreeBlock* head = nullptr;
};
SharedPool& Shared() {
    static SharedPool* pool = new SharedPool;
    return *pool;
}

void PushShared(FreeBlock* first, FreeBlock* last) {
    SharedPool& shared = Shared();
    std::lock_guard<std::mutex> guard(shared.lock);
    last->next = shared.head;
    shared.head = first;
}

// Hands a thread's free blocks to the shared list when the thread ends.
struct PoolReturner {
    ~PoolReturner() {
        LocalPool& pool = localPool;
        pool.ended = true;
        if (!pool.head) return;
        FreeBlock* last = pool.head;
        while (last->next)
            last = last->next;
        PushShared(pool.head, last);
        pool.head = nullptr;
    }
};

// Called before a thread first keeps blocks, whether it took them or only freed them.
void Register(LocalPool& pool) {
    static thread_local PoolReturner returner; // constructed on first use, so it runs at thread end
    (void)returner;
    pool.registered = true;
}

void RefillLocal(LocalPool& pool) {
    if (!pool.registered) Register(pool);
    {
        SharedPool& shared = Shared();
        std::lock_guard<std::mutex> guard(shared.lock);
        if (shared.head) {
            pool.head = shared.head;
            shared.head = nullptr;
            return;
        }
    }
    // Slabs are never handed back: their blocks stay on the free lists for the next document.
    char* slab = static_cast<char*>(::operator new(kBlocksPerSlab * sizeof(TNoxPigger)));
    for (size_t i = kBlocksPerSlab; i-- > 0;) {
        auto* b = reinterpret_cast<FreeBlock*>(slab + i * sizeof(TNoxPigger));
        b->next = pool.head;
        pool.head = b;
    }
}

} // namespace

void* TNoxPigger::operator new(std::size_t size) {
    if (size != sizeof(TNoxPigger)) return ::operator new(size);
    LocalPool& pool = localPool;
    if (!pool.head) RefillLocal(pool);
    FreeBlock* b = pool.head;
    pool.head = b->next;
    return b;
}

void TNoxPigger::operator delete(void* block, std::size_t size) noexcept {
    if (!block) return;
    // The unsized form: clang leaves sized deallocation off unless asked.
    if (size != sizeof(TNoxPigger)) {
        ::operator delete(block);
        return;
    }
    auto* b = static_cast<FreeBlock*>(block);
    LocalPool& pool = localPool;
    if (pool.ended) {
        PushShared(b, b);
        return;
    }
    if (!pool.registered) Register(pool);
    b->next = pool.head;
    pool.head = b;
}
#else
void* TNoxPigger::operator new(std::size_t size) {
    return ::operator new(size);
}

void TNoxPigger::operator delete(void* block, std::size_t) noexcept {
    ::operator delete(block);
}
#endif

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool IsWhite(unsigned char c) {
    return c <= 32;
}

bool NeedsEscape(unsigned char c) {
    if (c <= 8 || c == 11 || c == 12 || (c >= 14 && c <= 31)) return true;
    return c == '"' || c == '%' || c == '<' || c == '>';
}

int DigitValue(unsigned char c) {
    int v = c - 48;
    if (c >= 65) v -= 7;
    return v;
}

std::string TrimWhite(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsWhite(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && IsWhite(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

// Appends the decoded form of [p, p + n) to out, without a temporary.
void DecodeInto(std::string& out, const char* p, size_t n) {
    const void* pct = std::memchr(p, '%', n);
    if (!pct) {
        out.append(p, n);
        return;
    }
    out.reserve(out.size() + n);
    size_t i = 0;
    while (pct) {
        const size_t at = static_cast<size_t>(static_cast<const char*>(pct) - p);
        out.append(p + i, at - i);
        i = at;
        if (i + 2 < n) {
            int v = 16 * DigitValue(static_cast<unsigned char>(p[i + 1])) +
                    DigitValue(static_cast<unsigned char>(p[i + 2]));
            out += static_cast<char>(static_cast<unsigned char>(((v % 256) + 256) % 256));
            i += 3;
        } else {
            // A percent sign too close to the end to carry two digits is kept as it stands.
            out += '%';
            i += 1;
        }
        pct = i < n ? std::memchr(p + i, '%', n - i) : nullptr;
    }
    out.append(p + i, n - i);
}

// Character classes of the parser, one table lookup instead of a chain of comparisons.
enum : unsigned char { kTagEnd = 1, kAttrEnd = 2 };

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> t{};
    for (unsigned char c : {' ', '/', '>', '\r', '\n', '\t'})
        t[c] = kTagEnd | kAttrEnd;
    t['='] = kAttrEnd;
    return t;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

// The parser's view of the text: 1-based positions, anything outside reads as NUL.
class Scanner {
public:
    explicit Scanner(const std::string& t)
        : d_(reinterpret_cast<const unsigned char*>(t.data())), len_(static_cast<int32_t>(t.size())) {}

    int32_t Length() const { return len_; }
    unsigned char At(int32_t p) const {
        return static_cast<uint32_t>(p - 1) < static_cast<uint32_t>(len_) ? d_[p - 1] : 0;
    }
    void SkipWhite(int32_t& p) const {
        if (p < 1 || p >= len_) return;
        const unsigned char* c = d_ + (p - 1);
        const unsigned char* last = d_ + (len_ - 1); // the last character is never skipped
        while (c < last && IsWhite(*c))
            ++c;
        p = static_cast<int32_t>(c - d_) + 1;
    }
    // The first position from p (at least 1) whose character is in the class, or 0.
    int32_t Search(int32_t p, unsigned char cls) const {
        if (p > len_) return 0;
        const unsigned char* c = d_ + (std::max<int32_t>(p, 1) - 1);
        const unsigned char* end = d_ + len_;
        for (; c < end; ++c)
            if (kClasses[*c] & cls) return static_cast<int32_t>(c - d_) + 1;
        return 0;
    }
    const char* Ptr(int32_t p) const { return reinterpret_cast<const char*>(d_) + (p - 1); }
    int32_t SearchChar(int32_t p, char c) const {
        int32_t from = std::max<int32_t>(p, 1);
        if (from > len_) return 0;
        const void* hit = std::memchr(d_ + from - 1, c, static_cast<size_t>(len_ - from + 1));
        return hit ? static_cast<int32_t>(static_cast<const unsigned char*>(hit) - d_) + 1 : 0;
    }
    // Characters from position a up to b (exclusive).
    std::string Slice(int32_t a, int32_t b) const {
        return b > a ? std::string(Ptr(a), static_cast<size_t>(b - a)) : std::string();
    }
    // Whether [a, b) equals the name, ASCII letters compared without regard to case.
    bool SameTextAt(int32_t a, int32_t b, const std::string& name) const {
        if (b - a != static_cast<int32_t>(name.size())) return false;
        const unsigned char* c = d_ + (a - 1);
        for (unsigned char y : name) {
            unsigned char x = *c++;
            if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
            if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
            if (x != y) return false;
        }
        return true;
    }

private:
    const unsigned char* d_;
    int32_t len_;
};

bool ParseTagRest(TNoxPigger& e, const Scanner& s, int32_t& p, int32_t q, int32_t end);

// Start tag with attributes. Returns false when the element closed itself with "/>".
bool ParseStartTag(TNoxPigger& e, const Scanner& s, int32_t& p) {
    int32_t lt = s.SearchChar(p, '<');
    if (lt == 0) e.SyntaxError(p);
    int32_t q = lt + 1;
    s.SkipWhite(q);
    int32_t end = s.Search(q, kTagEnd);
    if (end == 0) e.SyntaxError(p);
    return ParseTagRest(e, s, p, q, end);
}

// The start tag from its name, which runs from q (white space skipped) to end.
bool ParseTagRest(TNoxPigger& e, const Scanner& s, int32_t& p, int32_t q, int32_t end) {
    {
        // Trimmed and upper-cased in place: one assignment, no temporaries.
        int32_t b = q, f = end;
        while (b < f && IsWhite(s.At(b)))
            ++b;
        while (f > b && IsWhite(s.At(f - 1)))
            --f;
        std::string& tag = ParserAccess::Tag(e);
        tag.assign(s.Ptr(b), static_cast<size_t>(f - b));
        for (char& c : tag)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    p = end;

    // Attributes are first found as spans of the text, so the element's list is allocated once, at its
    // final size, and each name and value is built once, in place.
    struct Span {
        int32_t nameStart, nameEnd, valueStart, valueEnd;
    };
    Span inline_[16];
    std::vector<Span> more; // a start tag with more attributes than the inline room
    size_t count = 0;
    auto add = [&](const Span& span) {
        if (count < std::size(inline_))
            inline_[count] = span;
        else
            more.push_back(span);
        ++count;
    };
    auto keep = [&] {
        auto& attrs = ParserAccess::Attrs(e);
        attrs.reserve(attrs.size() + count);
        for (size_t i = 0; i < count; ++i) {
            const Span& sp = i < std::size(inline_) ? inline_[i] : more[i - std::size(inline_)];
            auto& added = attrs.emplace_back(
                std::piecewise_construct,
                std::forward_as_tuple(s.Ptr(sp.nameStart), static_cast<size_t>(sp.nameEnd - sp.nameStart)),
                std::forward_as_tuple());
            for (char& ch : added.first)
                if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
            if (sp.valueEnd > sp.valueStart)
                DecodeInto(added.second, s.Ptr(sp.valueStart),
                           static_cast<size_t>(sp.valueEnd - sp.valueStart));
        }
    };
    // Attributes read before an error stay in the element, as they always have; the one being read goes.
    auto fail = [&](int32_t position) {
        keep();
        e.SyntaxError(position);
    };
    for (;;) {
        s.SkipWhite(p);
        unsigned char c = s.At(p);
        if (c == '/' || c == '>') break;
        const int32_t start = p;
        int32_t nameEnd = s.Search(p, kAttrEnd);
        const int32_t nameStart = p;
        if (nameEnd != 0)
            p = nameEnd;
        else
            nameEnd = p;
        s.SkipWhite(p);
        int32_t valueStart = 0, valueEnd = 0;
        if (s.At(p) == '=') {
            ++p;
            s.SkipWhite(p);
            if (s.At(p) == '"') {
                int32_t close = s.SearchChar(p + 1, '"');
                if (close == 0) fail(p);
                valueStart = p + 1;
                valueEnd = close;
                p = close + 1;
            } else {
                int32_t vend = s.Search(p, kTagEnd);
                if (vend == 0) fail(p);
                valueStart = p;
                valueEnd = vend;
                p = vend;
            }
        }
        // A text cut short inside a start tag makes no progress here: stop instead of looping.
        if (p == start) fail(p);
        add({nameStart, nameEnd, valueStart, valueEnd});
    }
    if (count != 0) keep();

    s.SkipWhite(p);
    if (s.At(p) == '/' && s.At(p + 1) == '>') {
        p += 2;
        return false;
    }
    unsigned char passed = s.At(p);
    ++p;
    if (passed != '>') e.SyntaxError(p);
    return true;
}

// The run [a, b) of content text: trimmed, decoded, offered to the element and appended.
void AddTextRun(TNoxPigger& e, const Scanner& s, int32_t a, int32_t b) {
    while (a < b && IsWhite(s.At(a)))
        ++a;
    while (b > a && IsWhite(s.At(b - 1)))
        --b;
    if (a == b) return;
    std::string decoded;
    DecodeInto(decoded, s.Ptr(a), static_cast<size_t>(b - a));
    if (decoded.empty() || !e.AcceptText(decoded)) return;
    if (e.Text.empty())
        e.Text = std::move(decoded);
    else
        e.Text += decoded;
}

} // namespace

// ---- escaping ----

namespace {
void AppendEncoded(std::string& out, const std::string& s) {
    for (unsigned char c : s) {
        if (NeedsEscape(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
}
} // namespace

namespace {
size_t EncodedSize(const std::string& s) {
    size_t n = s.size();
    for (unsigned char c : s)
        if (NeedsEscape(c)) n += 2;
    return n;
}

std::string Reason(int error) {
    return std::strerror(error);
}
} // namespace

std::string MarkupEncode(const std::string& s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    AppendEncoded(out, s);
    return out;
}

std::string MarkupDecode(const std::string& s) {
    if (s.find('%') == std::string::npos) return s;
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        // A percent sign too close to the end to carry two digits is kept as it stands.
        if (s[i] == '%' && i + 2 < s.size()) {
            int v = 16 * DigitValue(static_cast<unsigned char>(s[i + 1])) +
                    DigitValue(static_cast<unsigned char>(s[i + 2]));
            out += static_cast<char>(static_cast<unsigned char>(((v % 256) + 256) % 256));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string AsciiUpper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool SameTextAscii(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// ---- structure ----

TNoxPigger::TNoxPigger(TNoxPigger* parent) {
    if (parent) SetParent(parent);
}

TNoxPigger::~TNoxPigger() {
    Detach();
    FreeChildren();
}

void TNoxPigger::Detach() {
    if (!parent_) return;
    auto& siblings = parent_->children_;
    // Removing the last child is the common case (destroying in reverse, undoing an append).
    if (!siblings.empty() && siblings.back() == this)
        siblings.pop_back();
    else
        siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    parent_ = nullptr;
}

void TNoxPigger::Clear() {
    FreeChildren();
    tag_.clear();
    Text.clear();
    attrs_.clear();
}

void TNoxPigger::FreeChildren() {
    // Depth first from the last child, through the parent links: no recursion and no work list,
    // so freeing a large or deep tree needs no memory of its own.
    TNoxPigger* n = this;
    for (;;) {
        if (!n->children_.empty()) {
            n = n->children_.back();
            continue;
        }
        if (n == this) break;
        TNoxPigger* up = n->parent_;
        up->children_.pop_back();
        n->parent_ = nullptr;
        delete n;
        n = up;
    }
    children_.shrink_to_fit();
}

void TNoxPigger::SetTagName(const std::string& name) {
    tag_ = AsciiUpper(TrimWhite(name));
}

int TNoxPigger::Depth() const {
    int d = 0;
    for (const TNoxPigger* p = parent_; p; p = p->parent_)
        ++d;
    return d;
}

std::string TNoxPigger::Indent() const {
    std::string s = "\r\n";
    s.append(static_cast<size_t>(Depth()), '\t');
    return s;
}

void TNoxPigger::SetParent(TNoxPigger* parent) {
    if (parent == parent_) return;
    // A cycle would make the tree unreachable and every walk endless. An element without children can
    // only be its own ancestor, which keeps building a deep tree linear.
    const TNoxPigger* p = children_.empty() ? nullptr : parent;
    if (parent == this) p = this;
    for (; p; p = p->parent_)
        if (p == this)
            throw std::logic_error("An element cannot become a child of itself or of its own descendant");
    Detach();
    if (parent) {
        parent_ = parent;
        parent->children_.push_back(this);
    }
}

TNoxPigger* TNoxPigger::Child(int index) const {
    if (index < 0 || index >= ChildCount()) return nullptr;
    return children_[static_cast<size_t>(index)];
}

int TNoxPigger::IndexOfChild(const TNoxPigger* child) const {
    auto it = std::find(children_.begin(), children_.end(), child);
    return it == children_.end() ? -1 : static_cast<int>(it - children_.begin());
}

TNoxPigger* TNoxPigger::AddChild(const std::string& tagName) {
    TNoxPigger* c = new TNoxPigger(this);
    c->SetTagName(tagName);
    return c;
}

void TNoxPigger::MoveChild(int currentIndex, int newIndex) {
    if (currentIndex == newIndex) return;
    for (int i : {currentIndex, newIndex})
        if (i < 0 || i >= ChildCount())
            throw EListError("List index out of bounds (" + std::to_string(i) + ")");
    TNoxPigger* moving = children_[static_cast<size_t>(currentIndex)];
    children_.erase(children_.begin() + currentIndex);
    children_.insert(children_.begin() + newIndex, moving);
}

// ---- attributes ----

const std::string* TNoxPigger::FindAttr(const std::string& upperName) const {
    for (const auto& a : attrs_)
        if (a.first == upperName) return &a.second;
    return nullptr;
}

std::string TNoxPigger::GetAttr(const std::string& name) const {
    const std::string* value = FindAttr(AsciiUpper(name));
    return value ? *value : std::string();
}

void TNoxPigger::SetAttr(const std::string& name, const std::string& value) {
    if (value.empty()) {
        DeleteAttr(name);
        return;
    }
    const std::string key = AsciiUpper(name);
    for (auto& a : attrs_)
        if (a.first == key) {
            a.second = value;
            return;
        }
    attrs_.emplace_back(key, value);
}

void TNoxPigger::DeleteAttr(const std::string& name) {
    const std::string key = AsciiUpper(name);
    for (auto it = attrs_.begin(); it != attrs_.end(); ++it)
        if (it->first == key) {
            attrs_.erase(it);
            return;
        }
}

void TNoxPigger::AppendAttr(const std::string& name, const std::string& value) {
    attrs_.emplace_back(AsciiUpper(name), value);
}

// ---- lookups ----

TNoxPigger* TNoxPigger::FindChild(const std::string& tagName) const {
    const std::string key = AsciiUpper(tagName);
    for (TNoxPigger* c : children_)
        if (c->tag_ == key) return c;
    return nullptr;
}

TNoxPigger* TNoxPigger::FindChildByAttr(const std::string& attrName, const std::string& value) const {
    const std::string key = AsciiUpper(attrName);
    static const std::string none;
    for (TNoxPigger* c : children_) {
        const std::string* v = c->FindAttr(key);
        if (SameTextAscii(v ? *v : none, value)) return c;
    }
    return nullptr;
}

TNoxPigger* TNoxPigger::FindNextSibling(const TNoxPigger* child) const {
    if (!child) return nullptr;
    int start = IndexOfChild(child) + 1; // not a child: -1 + 1 starts at the first
    for (int i = start; i < ChildCount(); ++i)
        if (children_[static_cast<size_t>(i)]->tag_ == child->tag_) return children_[static_cast<size_t>(i)];
    return nullptr;
}

// ---- copy ----

TNoxPigger* TNoxPigger::NewInstance(TNoxPigger* parent) const {
    return new TNoxPigger(parent);
}

void TNoxPigger::Assign(const TNoxPigger& source) {
    if (&source == this) return;
    // A source inside this subtree would be freed by Clear before it is read, and a source above this
    // element would meet its own growing copy while being walked: copy it aside first.
    bool related = false;
    for (const TNoxPigger* p = source.parent_; p && !related; p = p->parent_)
        related = p == this;
    for (const TNoxPigger* p = parent_; p && !related; p = p->parent_)
        related = p == &source;
    if (related) {
        std::unique_ptr<TNoxPigger> copy(source.NewInstance(nullptr));
        copy->Assign(source);
        Assign(*copy);
        return;
    }
    Clear();
    tag_ = source.tag_;
    Text = source.Text;
    attrs_ = source.attrs_;
    // A work list instead of recursion, so deep trees copy safely.
    std::vector<std::pair<const TNoxPigger*, TNoxPigger*>> work{{&source, this}};
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        for (const TNoxPigger* c : from->children_) {
            TNoxPigger* copy = c->NewInstance(to);
            copy->tag_ = c->tag_;
            copy->Text = c->Text;
            copy->attrs_ = c->attrs_;
            work.emplace_back(c, copy);
        }
    }
}

// ---- writer ----

std::string TNoxPigger::GetText() const {
    const size_t size = TextSize();
    if (size > kMaxTextSize)
        throw EStreamError("The text would take " + std::to_string(size) +
                           " bytes, more than the 1 GiB a file may have; nothing was written");
    std::string out;
    out.reserve(size);
    AppendTextTo(out);
    return out;
}

// Mirrors AppendTextTo, counting instead of appending.
size_t TNoxPigger::TextSize() const {
    if (tag_.empty()) return 0;
    auto openSize = [](const TNoxPigger* e, size_t depth) {
        size_t n = 2 + depth + 1 + e->tag_.size(); // indent, "<", tag
        for (const auto& a : e->attrs_)
            n += 1 + a.first.size() + 2 + EncodedSize(a.second) + 1;
        if (e->children_.empty() && e->Text.empty()) return n + 2; // "/>"
        return n + 1 + EncodedSize(e->Text);
    };
    auto closeSize = [](const TNoxPigger* e, size_t depth) { return 2 + depth + 2 + e->tag_.size() + 1; };
    const size_t base = static_cast<size_t>(Depth());
    size_t total = openSize(this, base);
    if (children_.empty() && Text.empty()) return total;
    struct Frame {
        const TNoxPigger* e;
        size_t next;
        size_t depth;
    };
    std::vector<Frame> stack{{this, 0, base}};
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next < f.e->children_.size()) {
            const TNoxPigger* c = f.e->children_[f.next++];
            if (c->tag_.empty()) continue;
            const size_t depth = f.depth + 1;
            total += openSize(c, depth);
            if (!c->children_.empty() || !c->Text.empty()) stack.push_back({c, 0, depth});
            continue;
        }
        total += closeSize(f.e, f.depth);
        stack.pop_back();
    }
    return total;
}

void TNoxPigger::AppendTextTo(std::string& out) const {
    if (tag_.empty()) return;
    struct Frame {
        const TNoxPigger* e;
        size_t next;
    };
    std::string indent = Indent();
    auto openTag = [&](const TNoxPigger* e) {
        out += indent;
        out += '<';
        out += e->tag_;
        for (const auto& a : e->attrs_) {
            out += ' ';
            out += a.first;
            out += "=\"";
            AppendEncoded(out, a.second);
            out += '"';
        }
        if (e->children_.empty() && e->Text.empty()) {
            out += "/>";
            return false;
        }
        out += '>';
        AppendEncoded(out, e->Text);
        return true;
    };
    if (!openTag(this)) return;
    std::vector<Frame> stack{{this, 0}};
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next < f.e->children_.size()) {
            const TNoxPigger* c = f.e->children_[f.next++];
            if (c->tag_.empty()) continue;
            indent += '\t';
            if (openTag(c))
                stack.push_back({c, 0});
            else
                indent.pop_back();
            continue;
        }
        out += indent;
        out += "</";
        out += f.e->tag_;
        out += '>';
        stack.pop_back();
        if (!stack.empty()) indent.pop_back();
    }
}

void TNoxPigger::SaveToStream(std::ostream& stream) const {
    const std::string text = GetText();
    if (text.empty()) return;
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!stream) throw EStreamError("Stream write error");
}

void TNoxPigger::SaveToFile(const std::string& fileName) const {
    WriteFileAtomically(fileName, GetText());
}

// ---- parser ----

void TNoxPigger::SetText(std::string text) {
    Clear();
    if (text.empty()) return;
    Scanner s(text);
    int32_t p = 1;
    s.SkipWhite(p);
    ParseElement(text, p);
}

void TNoxPigger::ParseElement(const std::string& text, int32_t& p) {
    // Positions are 32-bit; a text they cannot address is refused rather than misread.
    if (text.size() > static_cast<size_t>(INT32_MAX) - 8) SyntaxError(1);
    const Scanner s(text);
    if (!ParseStartTag(*this, s, p)) return;

    // Content is parsed with an explicit stack, so nesting depth never grows the machine stack.
    struct Frame {
        TNoxPigger* e;
        TNoxPigger* parent;                  // whose ChildParsed hears of it; none for this element
        std::unique_ptr<TNoxPigger> skipped; // a child the parent refused, parsed and then dropped
    };
    std::vector<Frame> stack;
    stack.push_back({this, nullptr, nullptr});
    while (!stack.empty()) {
        TNoxPigger& e = *stack.back().e;
        s.SkipWhite(p);
        const int32_t a = s.SearchChar(p, '<');
        if (a > p) {
            AddTextRun(e, s, p, a);
            p = a;
        }
        if (a == 0) e.SyntaxError(p);
        if (s.At(a + 1) != '/') {
            int32_t q = a + 1;
            s.SkipWhite(q);
            const int32_t end = s.Search(q, kTagEnd);
            if (end == 0) e.SyntaxError(p);
            // Most elements with children have a few: start with room for some instead of one.
            auto& siblings = ParserAccess::Children(e);
            if (siblings.capacity() == 0) siblings.reserve(4);
            std::unique_ptr<TNoxPigger> skipped;
            TNoxPigger* child = e.CreateChildFor(s.Slice(q, end));
            if (!child) {
                skipped = std::make_unique<TNoxPigger>(nullptr);
                child = skipped.get();
            }
            // The name was found above; the child's start tag is read on from it.
            if (ParseTagRest(*child, s, p, q, end)) {
                stack.push_back({child, &e, std::move(skipped)});
            } else if (!skipped) {
                e.ChildParsed(child);
            }
            continue;
        }

        // End tag.
        s.SkipWhite(p);
        const int32_t endPos = p;
        p += 2;
        const int32_t nameEnd = s.Search(p, kAttrEnd);
        const int32_t nameStart = p;
        if (nameEnd != 0) p = nameEnd;
        if (!s.SameTextAt(nameStart, nameEnd != 0 ? nameEnd : nameStart, e.TagName()))
            e.RaiseError("Unclosed tag: " + e.TagName(), endPos);
        s.SkipWhite(p);
        if (s.At(p) != '>') e.RaiseError("Unclosed tag: " + e.TagName(), endPos);
        ++p;
        Frame done = std::move(stack.back());
        stack.pop_back();
        if (done.parent && !done.skipped) done.parent->ChildParsed(done.e);
    }
}

TNoxPigger* TNoxPigger::CreateChildFor(const std::string&) {
    return new TNoxPigger(this);
}
void TNoxPigger::ChildParsed(TNoxPigger*) {}
bool TNoxPigger::AcceptText(const std::string&) {
    return true;
}

void TNoxPigger::Error(const std::string& message, int32_t position) {
    throw ENoxPiggerError(message, position);
}

void TNoxPigger::SyntaxError(int32_t position) {
    RaiseError("Syntax error", position);
}

void TNoxPigger::RaiseError(const std::string& message, int32_t position) {
    Error(message, position);
    throw ENoxPiggerError(message, position);
}

// ---- files and streams ----

namespace {
// 0x80 in every byte of v that equals c, 0 elsewhere (no false hits from borrows).
uint64_t BytesEqual(uint64_t v, unsigned char c) {
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const uint64_t x = v ^ (0x0101010101010101ull * c);
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Whether every line break in [d, d + n) is already a CR LF pair: every LF follows a CR and every CR
// is followed by an LF. Eight bytes a step, since the default build does not vectorise a byte loop.
bool OnlyCrLf(const char* d, size_t n) {
    if (n == 0) return true;
    if (d[0] == '\n' || d[n - 1] == '\r') return false;
    size_t i = 1;
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t bad = 0, prevCr = 0;
        for (i = 0; i + 8 <= n; i += 8) {
            uint64_t v;
            std::memcpy(&v, d + i, 8);
            const uint64_t cr = BytesEqual(v, '\r');
            bad |= BytesEqual(v, '\n') ^ ((cr << 8) | (prevCr >> 56));
            prevCr = cr;
        }
        if (bad) return false;
        if (i == 0) i = 1;
    }
    for (; i < n; ++i)
        if ((d[i] == '\n') != (d[i - 1] == '\r')) return false;
    return true;
}
} // namespace

std::string NormalizeLineBreaks(const std::string& bytes) {
    const size_t n = std::min(bytes.size(), bytes.find('\0'));
    // A file the program wrote has CR LF breaks only: it comes out as it is, with a final CR LF.
    if (OnlyCrLf(bytes.data(), n)) {
        const bool ended = n >= 2 && bytes[n - 2] == '\r' && bytes[n - 1] == '\n';
        std::string out;
        out.reserve(n + 2);
        out.append(bytes, 0, n);
        if (n > 0 && !ended) out += "\r\n";
        return out;
    }
    // The next CR and the next LF are each searched only once they have been passed, so a file that
    // uses only one kind of line break costs one pass, not one pass per line.
    auto next = [&](char c, size_t from) {
        const void* hit = std::memchr(bytes.data() + from, c, n - from);
        return hit ? static_cast<size_t>(static_cast<const char*>(hit) - bytes.data()) : n;
    };
    std::string out;
    out.reserve(n + n / 32 + 2);
    size_t i = 0;
    size_t cr = next('\r', 0);
    size_t lf = next('\n', 0);
    while (i < n) {
        if (cr < i) cr = next('\r', i);
        if (lf < i) lf = next('\n', i);
        const size_t hit = std::min(cr, lf);
        out.append(bytes, i, hit - i);
        out += "\r\n";
        if (hit == n) break;
        i = hit + 1;
        if (bytes[hit] == '\r' && i < n && bytes[i] == '\n') ++i;
    }
    return out;
}

void TNoxPigger::LoadFromStream(std::istream& stream) {
    std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    SetText(NormalizeLineBreaks(bytes));
}

void TNoxPigger::LoadFromFile(const std::string& fileName) {
    SetText(NormalizeLineBreaks(ReadFileBytes(fileName)));
}

std::string ReadFileBytes(const std::string& fileName) {
    // A named pipe is opened without waiting: with nobody writing to it the open would block for ever.
    // Reads wait as usual afterwards; such a pipe then reads as empty. Other files open as always.
    struct stat before {};
    const bool pipe = ::stat(fileName.c_str(), &before) == 0 && S_ISFIFO(before.st_mode);
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | (pipe ? O_NONBLOCK : 0));
    if (fd < 0) {
        const int error = errno;
        throw EStreamError("Cannot open file " + fileName + ": " + Reason(error));
    }
    struct stat st {};
    std::string refusal;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        refusal = Reason(error);
    } else if (S_ISDIR(st.st_mode))
        refusal = Reason(EISDIR);
    // A device such as /dev/zero would be read until memory runs out.
    else if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode))
        refusal = "not a regular file";
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int error = errno;
        refusal = Reason(error);
    }
    if (!refusal.empty()) {
        ::close(fd);
        throw EStreamError("Cannot open file " + fileName + ": " + refusal);
    }
    std::string bytes;
    if (S_ISREG(st.st_mode)) bytes.reserve(std::min(static_cast<size_t>(st.st_size), kMaxTextSize + 1));
    char buf[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw EStreamError("Cannot read file " + fileName + ": " + Reason(error));
        }
        if (got == 0) break;
        if (bytes.size() + static_cast<size_t>(got) > kMaxTextSize) {
            ::close(fd);
            throw EStreamError("Cannot read file " + fileName + ": larger than 1 GiB");
        }
        bytes.append(buf, static_cast<size_t>(got));
    }
    ::close(fd);
    return bytes;
}

void WriteFileAtomically(const std::string& fileName, const std::string& bytes) {
    namespace fs = std::filesystem;
    // Write through a symbolic link to the file it names, so the link stays a link.
    std::string target = fileName;
    std::error_code ec;
    if (fs::is_symlink(fs::path(fileName), ec)) {
        fs::path resolved = fs::weakly_canonical(fs::path(fileName), ec);
        if (!ec) target = resolved.string();
    }
    const fs::path targetPath(target);
    const fs::path dir = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    const std::string cannot = "Cannot create file " + fileName + ": ";
    if (target.empty() || !targetPath.has_filename()) throw EStreamError(cannot + Reason(EINVAL));
    // A file we could not open for writing stays as it is, even though the folder would let us replace it.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) {
        const int error = errno;
        throw EStreamError(cannot + Reason(error));
    }
    // Renaming over a device, a pipe or a folder would replace it with a plain file: refuse instead.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        throw EStreamError(cannot + (S_ISDIR(existing.st_mode) ? Reason(EISDIR) : "not a regular file"));

    std::string tmpl = (dir / ("." + targetPath.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        const int error = errno;
        throw EStreamError(cannot + Reason(error));
    }
    const std::string tmp(name.data());

    auto fail = [&](const std::string& message) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw EStreamError(message);
    };

    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat old {};
    mode_t mode = 0666;
    if (::stat(target.c_str(), &old) == 0)
        mode = old.st_mode & 07777;
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd, mode);

    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            const int error = put < 0 ? errno : ENOSPC;
            fail("Cannot write file " + fileName + ": " + Reason(error));
        }
        done += static_cast<size_t>(put);
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        fail("Cannot write file " + fileName + ": " + Reason(error));
    }
    if (::close(fd) != 0) {
        ::unlink(tmp.c_str());
        throw EStreamError("Cannot write file " + fileName);
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(tmp.c_str());
        throw EStreamError(cannot + Reason(error));
    }
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

int TreeHeight(const TNoxPigger& root) {
    int height = 0;
    std::vector<std::pair<const TNoxPigger*, int>> work{{&root, 0}};
    while (!work.empty()) {
        auto [e, d] = work.back();
        work.pop_back();
        height = std::max(height, d);
        for (const TNoxPigger* c : e->Children())
            work.emplace_back(c, d + 1);
    }
    return height;
}
