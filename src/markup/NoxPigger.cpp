#include "markup/NoxPigger.h"

#include "markup/TMarkupArena.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <istream>
#include <memory>
#include <mutex>
#include <new>
#include <ostream>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

struct MarkupStringAccess {
    // Whether the string's bytes lie in shared storage (the empty string lies nowhere).
    static bool Shared(const TMarkupString& s) { return s.capacity_ == 0 && s.size_ != 0; }
    // Makes the string refer to bytes in shared storage, followed by a NUL.
    static void Place(TMarkupString& s, const char* bytes, size_t n) noexcept {
        s.Release();
        s.data_ = bytes;
        s.size_ = static_cast<uint32_t>(n);
    }
    // Hands the string over as it stands, bytes and ownership, leaving from empty.
    static void Relocate(TMarkupString& to, TMarkupString& from) noexcept {
        to.Release();
        to.TakeOver(from);
    }
};

struct ElementStorage {
    using Attribute = TNoxPigger::Attribute;
    template <typename T> using Slots = TNoxPigger::Slots<T>;

    static std::string& Tag(TNoxPigger& e) { return e.tag_; }
    static Slots<Attribute>& Attrs(TNoxPigger& e) { return e.attrs_; }
    static Slots<TNoxPigger*>& Children(TNoxPigger& e) { return e.children_; }
    static TMarkupArena* Arena(const TNoxPigger& e) { return e.arena_; }
    static void MoveStorageTo(TNoxPigger& e, TMarkupArena* arena) { e.MoveStorageTo(arena); }

    static void Relocate(Attribute* to, Attribute* from) noexcept {
        new (to) Attribute();
        MarkupStringAccess::Relocate(to->first, from->first);
        MarkupStringAccess::Relocate(to->second, from->second);
        from->~Attribute();
    }
    static void Relocate(TNoxPigger** to, TNoxPigger** from) noexcept { *to = *from; }
    static void Destroy(Attribute* items, uint32_t n) noexcept {
        for (uint32_t i = 0; i < n; ++i)
            items[i].~Attribute();
    }
    static void Destroy(TNoxPigger**, uint32_t) noexcept {}

    // Moves the items into a new list of the capacity, in the arena or, without one, on the heap.
    template <typename T> static void Reallocate(Slots<T>& s, uint32_t capacity, TMarkupArena* arena) {
        T* data =
            arena ? arena->AllocateArray<T>(capacity) : static_cast<T*>(::operator new(sizeof(T) * capacity));
        for (uint32_t i = 0; i < s.size; ++i)
            Relocate(data + i, s.data + i);
        if (s.onHeap) ::operator delete(s.data);
        s.data = data;
        s.capacity = capacity;
        s.onHeap = arena == nullptr;
    }
    template <typename T> static void Free(Slots<T>& s) noexcept {
        Destroy(s.data, s.size);
        if (s.onHeap) ::operator delete(s.data);
        s = Slots<T>{};
    }
    // Room for one more item. Outside a load lists grow on the heap, so edits never pile up in the
    // storage a load made.
    template <typename T>
    static void MakeRoom(Slots<T>& s, TMarkupArena* arena = nullptr, uint32_t first = 4) {
        if (s.size < s.capacity) return;
        if (s.capacity > UINT32_MAX / 4) throw std::length_error("Too many attributes or children");
        Reallocate(s, std::max(first, s.capacity * 2), arena);
    }

    // Visits the subtree in document order without recursion: open(e, depth) for every element with a
    // tag (an element without one is left out with its subtree) and, when open says the element has
    // content, close(e, depth) after its children.
    template <typename Open, typename Close>
    static void Walk(const TNoxPigger& root, size_t depth, Open&& open, Close&& close) {
        if (root.tag_.empty()) return;
        if (!open(root, depth)) return;
        struct Frame {
            const TNoxPigger* e;
            uint32_t next;
        };
        std::vector<Frame> stack{{&root, 0}};
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (f.next < f.e->children_.size) {
                const TNoxPigger* c = f.e->children_.data[f.next++];
                if (c->tag_.empty()) continue;
                if (open(*c, depth + stack.size())) stack.push_back({c, 0});
                continue;
            }
            close(*f.e, depth + stack.size() - 1);
            stack.pop_back();
        }
    }
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

using Attribute = TNoxPigger::Attribute;
using Strings = MarkupStringAccess;

constexpr char kHex[] = "0123456789ABCDEF";

bool IsWhite(unsigned char c) {
    return c <= 32;
}

constexpr bool NeedsEscape(unsigned char c) {
    if (c <= 8 || c == 11 || c == 12 || (c >= 14 && c <= 31)) return true;
    return c == '"' || c == '%' || c == '<' || c == '>';
}

constexpr std::array<unsigned char, 256> MakeEscapes() {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<size_t>(c)] = NeedsEscape(static_cast<unsigned char>(c)) ? 1 : 0;
    return t;
}
constexpr std::array<unsigned char, 256> kEscapes = MakeEscapes();

int DigitValue(unsigned char c) {
    int v = c - 48;
    if (c >= 65) v -= 7;
    return v;
}

char AsciiUpperChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

std::string_view TrimWhite(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsWhite(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && IsWhite(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpperChar(a[i]) != AsciiUpperChar(b[i])) return false;
    return true;
}

// Decodes [p, p + n) into out, which has room for n bytes; gives the decoded length.
size_t DecodeTo(char* out, const char* p, size_t n) {
    const void* pct = std::memchr(p, '%', n);
    if (!pct) {
        std::memcpy(out, p, n);
        return n;
    }
    char* w = out;
    size_t i = 0;
    while (pct) {
        const size_t at = static_cast<size_t>(static_cast<const char*>(pct) - p);
        std::memcpy(w, p + i, at - i);
        w += at - i;
        i = at;
        if (i + 2 < n) {
            int v = 16 * DigitValue(static_cast<unsigned char>(p[i + 1])) +
                    DigitValue(static_cast<unsigned char>(p[i + 2]));
            *w++ = static_cast<char>(static_cast<unsigned char>(((v % 256) + 256) % 256));
            i += 3;
        } else {
            // A percent sign too close to the end to carry two digits is kept as it stands.
            *w++ = '%';
            i += 1;
        }
        pct = i < n ? std::memchr(p + i, '%', n - i) : nullptr;
    }
    std::memcpy(w, p + i, n - i);
    return static_cast<size_t>(w - out) + (n - i);
}

// ---- escaping, sixteen bytes a step where the processor has the instructions ----

#if defined(__SSE2__)
// One bit for each of the sixteen bytes that needs escaping.
[[gnu::always_inline]] inline unsigned EscapeMask(__m128i v) {
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(31)), v);
    const __m128i lineBreaks =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(9)), _mm_cmpeq_epi8(v, _mm_set1_epi8(10))),
                     _mm_cmpeq_epi8(v, _mm_set1_epi8(13)));
    // "<" and ">" differ in one bit only.
    const __m128i signs = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('%'))),
        _mm_cmpeq_epi8(_mm_or_si128(v, _mm_set1_epi8(2)), _mm_set1_epi8('>')));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_andnot_si128(lineBreaks, control), signs)));
}
[[gnu::always_inline]] inline unsigned EscapeMaskAt(const char* p) {
    return EscapeMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}
#endif

// Escapes are rare: most blocks have none, so the count is only worked out for those that do.
inline size_t Ones(unsigned mask) {
    return mask == 0 ? 0 : static_cast<size_t>(std::popcount(mask));
}

// How many bytes of [p, p + n) need escaping.
inline size_t EscapeCount(const char* p, size_t n) {
    size_t count = 0, i = 0;
#if defined(__SSE2__)
    if (n >= 16) {
        for (; i + 16 <= n; i += 16)
            count += Ones(EscapeMaskAt(p + i));
        // The last few bytes: the final sixteen, of which only the ones not yet counted.
        if (i < n) count += Ones(EscapeMaskAt(p + n - 16) >> (16 - (n - i)));
        return count;
    }
#endif
    for (; i < n; ++i)
        count += kEscapes[static_cast<unsigned char>(p[i])];
    return count;
}

inline void PutEscaped(char*& w, unsigned char c) {
    w[0] = '%';
    w[1] = kHex[c >> 4];
    w[2] = kHex[c & 15];
    w += 3;
}

// Writes the encoded form of [p, p + n) at w, which has room for it, and moves w past it.
inline void WriteEncoded(char*& w, const char* p, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    while (i + 16 <= n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const unsigned mask = EscapeMask(v);
        if (mask == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w), v);
            w += 16;
            i += 16;
            continue;
        }
        const auto plain = static_cast<size_t>(std::countr_zero(mask));
        TMarkupArena::CopyBytes(w, p + i, plain);
        w += plain;
        i += plain;
        PutEscaped(w, static_cast<unsigned char>(p[i++]));
    }
    // A tail behind at least sixteen bytes: when none of it needs escaping, one copy.
    if (i < n && n >= 16 && (EscapeMaskAt(p + n - 16) >> (16 - (n - i))) == 0) {
        TMarkupArena::CopyBytes(w, p + i, n - i);
        w += n - i;
        return;
    }
#endif
    for (; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (kEscapes[c])
            PutEscaped(w, c);
        else
            *w++ = static_cast<char>(c);
    }
}

inline size_t EncodedSize(const TMarkupString& s) {
    return s.size() + 2 * EscapeCount(s.data(), s.size());
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
        // Mostly the character is right there (a "<" after an indent): no search then.
        if (d_[from - 1] == static_cast<unsigned char>(c)) return from;
        const void* hit = std::memchr(d_ + from - 1, c, static_cast<size_t>(len_ - from + 1));
        return hit ? static_cast<int32_t>(static_cast<const unsigned char*>(hit) - d_) + 1 : 0;
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

// Reads elements from a text into the elements the hooks give, placing names, values and texts in one
// arena. Content is parsed with an explicit stack, so nesting depth never grows the machine stack.
class Parser {
public:
    Parser(const std::string& text, TMarkupArena* arena) : s_(text), arena_(arena) {}

    void Run(TNoxPigger& root, int32_t& p);

private:
    struct Span {
        int32_t nameStart, nameEnd, valueStart, valueEnd;
        bool escaped; // the value may hold a percent sign
    };
    // An attribute name as read, and where its upper-case form was placed.
    struct Name {
        const char* read = nullptr;
        uint32_t size = 0;
        const char* placed = nullptr;
    };

    bool StartTag(TNoxPigger& e, int32_t& p);
    bool TagRest(TNoxPigger& e, int32_t& p, int32_t q, int32_t end);
    int32_t FindQuote(int32_t from, bool& percent) const;
    void KeepAttributes(TNoxPigger& e);
    void PlaceName(TMarkupString& into, int32_t a, int32_t b);
    void PlaceValue(TMarkupString& into, const Span& span);
    void AddTextRun(TNoxPigger& e, int32_t a, int32_t b);
    void MakeChildRoom(TNoxPigger& e, size_t depth);
    void Adopt(TNoxPigger& e) {
        if (ElementStorage::Arena(e) != arena_) ElementStorage::MoveStorageTo(e, arena_);
    }

    Scanner s_;
    TMarkupArena* arena_;
    std::string name_; // the tag name handed to CreateChildFor
    std::string run_;  // the text run handed to AcceptText
    std::vector<Span> spans_;
    // A document repeats a handful of attribute names: each is placed once.
    std::array<Name, 32> names_{};
    // Children of the element last finished at each depth: siblings tend to have as many, so a list
    // starts at that size instead of growing step by step and leaving its smaller sizes behind.
    std::vector<uint32_t> widths_;
};

// Start tag with attributes. Returns false when the element closed itself with "/>".
bool Parser::StartTag(TNoxPigger& e, int32_t& p) {
    int32_t lt = s_.SearchChar(p, '<');
    if (lt == 0) e.SyntaxError(p);
    int32_t q = lt + 1;
    s_.SkipWhite(q);
    int32_t end = s_.Search(q, kTagEnd);
    if (end == 0) e.SyntaxError(p);
    return TagRest(e, p, q, end);
}

// The start tag from its name, which runs from q (white space skipped) to end.
bool Parser::TagRest(TNoxPigger& e, int32_t& p, int32_t q, int32_t end) {
    Adopt(e);
    {
        // Trimmed and upper-cased in place.
        const char* b = s_.Ptr(q);
        const char* f = s_.Ptr(end);
        while (b < f && IsWhite(static_cast<unsigned char>(*b)))
            ++b;
        while (f > b && IsWhite(static_cast<unsigned char>(f[-1])))
            --f;
        std::string& tag = ElementStorage::Tag(e);
        const auto n = static_cast<size_t>(f - b);
        if (tag.size() != n) tag.resize(n);
        char* t = tag.data();
        for (size_t i = 0; i < n; ++i)
            t[i] = AsciiUpperChar(b[i]);
    }
    p = end;

    // Attributes are first found as spans of the text, so the element's list is allocated once, at its
    // final size.
    spans_.clear();
    // Attributes read before an error stay in the element, as they always have; the one being read goes.
    auto fail = [&](int32_t position) {
        KeepAttributes(e);
        e.SyntaxError(position);
    };
    for (;;) {
        s_.SkipWhite(p);
        unsigned char c = s_.At(p);
        if (c == '/' || c == '>') break;
        const int32_t start = p;
        int32_t nameEnd = s_.Search(p, kAttrEnd);
        const int32_t nameStart = p;
        if (nameEnd != 0)
            p = nameEnd;
        else
            nameEnd = p;
        s_.SkipWhite(p);
        int32_t valueStart = 0, valueEnd = 0;
        bool escaped = false;
        if (s_.At(p) == '=') {
            ++p;
            s_.SkipWhite(p);
            if (s_.At(p) == '"') {
                int32_t close = FindQuote(p + 1, escaped);
                if (close == 0) fail(p);
                valueStart = p + 1;
                valueEnd = close;
                p = close + 1;
            } else {
                int32_t vend = s_.Search(p, kTagEnd);
                if (vend == 0) fail(p);
                valueStart = p;
                valueEnd = vend;
                p = vend;
                escaped = true;
            }
        }
        // A text cut short inside a start tag makes no progress here: stop instead of looping.
        if (p == start) fail(p);
        spans_.push_back({nameStart, nameEnd, valueStart, valueEnd, escaped});
    }
    KeepAttributes(e);

    s_.SkipWhite(p);
    if (s_.At(p) == '/' && s_.At(p + 1) == '>') {
        p += 2;
        return false;
    }
    unsigned char passed = s_.At(p);
    ++p;
    if (passed != '>') e.SyntaxError(p);
    return true;
}

// The first double quote from position from, or 0; percent tells whether a percent sign comes before it.
int32_t Parser::FindQuote(int32_t from, bool& percent) const {
    percent = false;
    if (from > s_.Length()) return 0;
    const char* c = s_.Ptr(from);
    const char* end = s_.Ptr(s_.Length() + 1);
#if defined(__SSE2__)
    for (; end - c >= 16; c += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c));
        const auto quotes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('"'))));
        const auto percents = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('%'))));
        if (quotes) {
            const int at = std::countr_zero(quotes);
            percent = percent || (percents & ((1u << at) - 1)) != 0;
            return from + static_cast<int32_t>(c - s_.Ptr(from)) + at;
        }
        percent = percent || percents != 0;
    }
#endif
    for (; c < end; ++c) {
        if (*c == '"') return from + static_cast<int32_t>(c - s_.Ptr(from));
        if (*c == '%') percent = true;
    }
    return 0;
}

void Parser::KeepAttributes(TNoxPigger& e) {
    if (spans_.empty()) return;
    auto& attrs = ElementStorage::Attrs(e);
    const auto count = static_cast<uint32_t>(spans_.size());
    if (attrs.capacity - attrs.size < count) ElementStorage::Reallocate(attrs, attrs.size + count, arena_);
    for (const Span& sp : spans_) {
        Attribute* a = new (attrs.data + attrs.size) Attribute();
        ++attrs.size;
        PlaceName(a->first, sp.nameStart, sp.nameEnd);
        if (sp.valueEnd > sp.valueStart) PlaceValue(a->second, sp);
    }
    spans_.clear();
}

void Parser::PlaceName(TMarkupString& into, int32_t a, int32_t b) {
    const auto n = static_cast<uint32_t>(b - a);
    if (n == 0) return;
    const char* read = s_.Ptr(a);
    Name& known =
        names_[(n * 7 + static_cast<unsigned char>(read[0]) + static_cast<unsigned char>(read[n - 1])) & 31];
    if (known.size == n && std::equal(read, read + n, known.read)) {
        Strings::Place(into, known.placed, n);
        return;
    }
    char* out = static_cast<char*>(arena_->Allocate(n + 1, 1));
    for (uint32_t i = 0; i < n; ++i)
        out[i] = AsciiUpperChar(read[i]);
    out[n] = '\0';
    known = {read, n, out};
    Strings::Place(into, out, n);
}

void Parser::PlaceValue(TMarkupString& into, const Span& span) {
    const auto n = static_cast<size_t>(span.valueEnd - span.valueStart);
    const char* read = s_.Ptr(span.valueStart);
    if (!span.escaped) {
        Strings::Place(into, arena_->Copy(read, n), n);
        return;
    }
    char* out = static_cast<char*>(arena_->Allocate(n + 1, 1));
    const size_t used = DecodeTo(out, read, n);
    out[used] = '\0';
    arena_->Shrink(out, n + 1, used + 1);
    Strings::Place(into, out, used);
}

// The run [a, b) of content text: trimmed, decoded, offered to the element and appended.
void Parser::AddTextRun(TNoxPigger& e, int32_t a, int32_t b) {
    while (a < b && IsWhite(s_.At(a)))
        ++a;
    while (b > a && IsWhite(s_.At(b - 1)))
        --b;
    if (a == b) return;
    run_.resize(static_cast<size_t>(b - a));
    run_.resize(DecodeTo(run_.data(), s_.Ptr(a), static_cast<size_t>(b - a)));
    if (run_.empty() || !e.AcceptText(run_)) return;
    TMarkupString& text = e.Text;
    if (text.empty()) {
        Strings::Place(text, arena_->Copy(run_.data(), run_.size()), run_.size());
    } else {
        // Text around children: grown on the heap, so many runs cost their length, not its square.
        text += run_;
    }
}

void Parser::MakeChildRoom(TNoxPigger& e, size_t depth) {
    auto& children = ElementStorage::Children(e);
    if (children.size < children.capacity) return;
    // Only the element's own storage may hold its list.
    TMarkupArena* arena = ElementStorage::Arena(e) == arena_ ? arena_ : nullptr;
    // A modest start, whatever the siblings had: a hand-made file cannot make every list large.
    uint32_t first = 2;
    if (depth < widths_.size()) first = std::clamp<uint32_t>(widths_[depth], 2, 16);
    ElementStorage::MakeRoom(children, arena, first);
}

void Parser::Run(TNoxPigger& root, int32_t& p) {
    if (!StartTag(root, p)) return;

    struct Frame {
        TNoxPigger* e;
        TNoxPigger* parent;                  // whose ChildParsed hears of it; none for the root
        std::unique_ptr<TNoxPigger> skipped; // a child the parent refused, parsed and then dropped
    };
    std::vector<Frame> stack;
    stack.push_back({&root, nullptr, nullptr});
    while (!stack.empty()) {
        TNoxPigger& e = *stack.back().e;
        s_.SkipWhite(p);
        const int32_t a = s_.SearchChar(p, '<');
        if (a > p) {
            AddTextRun(e, p, a);
            p = a;
        }
        if (a == 0) e.SyntaxError(p);
        if (s_.At(a + 1) != '/') {
            int32_t q = a + 1;
            s_.SkipWhite(q);
            const int32_t end = s_.Search(q, kTagEnd);
            if (end == 0) e.SyntaxError(p);
            MakeChildRoom(e, stack.size() - 1);
            const auto n = static_cast<size_t>(end - q);
            if (name_.size() != n) name_.resize(n);
            std::memcpy(name_.data(), s_.Ptr(q), n);
            std::unique_ptr<TNoxPigger> skipped;
            TNoxPigger* child = e.CreateChildFor(name_);
            if (!child) {
                skipped = std::make_unique<TNoxPigger>(nullptr);
                child = skipped.get();
            }
            // The name was found above; the child's start tag is read on from it.
            if (TagRest(*child, p, q, end)) {
                stack.push_back({child, &e, std::move(skipped)});
            } else if (!skipped) {
                e.ChildParsed(child);
            }
            continue;
        }

        // End tag.
        s_.SkipWhite(p);
        const int32_t endPos = p;
        p += 2;
        const int32_t nameEnd = s_.Search(p, kAttrEnd);
        const int32_t nameStart = p;
        if (nameEnd != 0) p = nameEnd;
        if (!s_.SameTextAt(nameStart, nameEnd != 0 ? nameEnd : nameStart, e.TagName()))
            e.RaiseError("Unclosed tag: " + e.TagName(), endPos);
        s_.SkipWhite(p);
        if (s_.At(p) != '>') e.RaiseError("Unclosed tag: " + e.TagName(), endPos);
        ++p;
        const size_t depth = stack.size() - 1;
        if (depth < 64) {
            if (widths_.size() <= depth) widths_.resize(depth + 1);
            widths_[depth] = ElementStorage::Children(e).size;
        }
        Frame done = std::move(stack.back());
        stack.pop_back();
        if (done.parent && !done.skipped) done.parent->ChildParsed(done.e);
    }
}

} // namespace

// ---- escaping ----

std::string MarkupEncode(const std::string& s) {
    std::string out(s.size() + 2 * EscapeCount(s.data(), s.size()), '\0');
    char* w = out.data();
    WriteEncoded(w, s.data(), s.size());
    return out;
}

std::string MarkupDecode(const std::string& s) {
    if (s.find('%') == std::string::npos) return s;
    std::string out(s.size(), '\0');
    out.resize(DecodeTo(out.data(), s.data(), s.size()));
    return out;
}

std::string AsciiUpper(std::string s) {
    for (char& c : s)
        c = AsciiUpperChar(c);
    return s;
}

bool SameTextAscii(const std::string& a, const std::string& b) {
    return SameAscii(a, b);
}

// ---- structure ----

TNoxPigger::TNoxPigger(TNoxPigger* parent) {
    if (parent) SetParent(parent);
}

TNoxPigger::~TNoxPigger() {
    Detach();
    FreeChildren();
    ElementStorage::Free(attrs_);
    if (arena_) arena_->Unref();
}

void TNoxPigger::Detach() {
    if (!parent_) return;
    auto& siblings = parent_->children_;
    // Removing the last child is the common case (destroying in reverse, undoing an append).
    if (siblings.size != 0 && siblings.data[siblings.size - 1] == this) {
        --siblings.size;
    } else {
        TNoxPigger** end = siblings.data + siblings.size;
        TNoxPigger** at = std::find(siblings.data, end, this);
        if (at != end) {
            std::copy(at + 1, end, at);
            --siblings.size;
        }
    }
    parent_ = nullptr;
}

void TNoxPigger::Clear() {
    FreeChildren();
    tag_.clear();
    Text.clear();
    ElementStorage::Free(attrs_);
    // Nothing of this element lies in shared storage any more.
    if (arena_) arena_->Unref();
    arena_ = nullptr;
}

void TNoxPigger::FreeChildren() {
    // Depth first from the last child, through the parent links: no recursion and no work list,
    // so freeing a large or deep tree needs no memory of its own.
    TNoxPigger* n = this;
    for (;;) {
        if (n->children_.size != 0) {
            n = n->children_.data[n->children_.size - 1];
            continue;
        }
        if (n == this) break;
        TNoxPigger* up = n->parent_;
        --up->children_.size;
        n->parent_ = nullptr;
        delete n;
        n = up;
    }
    ElementStorage::Free(children_);
}

void TNoxPigger::MoveStorageTo(TMarkupArena* arena) {
    if (arena == arena_) return;
    if (!arena_) {
        // Nothing of this element lies in shared storage: it only joins the new one.
        arena_ = arena;
        arena->Ref();
        return;
    }
    auto move = [arena](TMarkupString& s) {
        if (!Strings::Shared(s)) return;
        if (arena)
            Strings::Place(s, arena->Copy(s.data(), s.size()), s.size());
        else
            s = s.view(); // a copy of its own
    };
    move(Text);
    if (attrs_.data && !attrs_.onHeap) {
        if (attrs_.size == 0)
            attrs_ = Slots<Attribute>{};
        else
            ElementStorage::Reallocate(attrs_, attrs_.size, arena);
    }
    for (uint32_t i = 0; i < attrs_.size; ++i) {
        move(attrs_.data[i].first);
        move(attrs_.data[i].second);
    }
    if (children_.data && !children_.onHeap) {
        if (children_.size == 0)
            children_ = Slots<TNoxPigger*>{};
        else
            ElementStorage::Reallocate(children_, children_.size, arena);
    }
    if (arena) arena->Ref();
    if (arena_) arena_->Unref();
    arena_ = arena;
}

void TNoxPigger::KeepStorageWithRoot() {
    const TNoxPigger* root = this;
    while (root->parent_)
        root = root->parent_;
    const TMarkupArena* own = root->arena_;
    std::vector<TNoxPigger*> work{this};
    while (!work.empty()) {
        TNoxPigger* e = work.back();
        work.pop_back();
        // Onto the heap, not into the tree's storage: what is moved in and deleted again is given back.
        if (e->arena_ && e->arena_ != own) e->MoveStorageTo(nullptr);
        work.insert(work.end(), e->children_.data, e->children_.data + e->children_.size);
    }
}

void TNoxPigger::SetTagName(const std::string& name) {
    tag_ = AsciiUpper(std::string(TrimWhite(name)));
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
    const TNoxPigger* p = children_.size == 0 ? nullptr : parent;
    if (parent == this) p = this;
    for (; p; p = p->parent_)
        if (p == this)
            throw std::logic_error("An element cannot become a child of itself or of its own descendant");
    if (parent) ElementStorage::MakeRoom(parent->children_);
    Detach();
    if (!parent) return;
    parent->children_.data[parent->children_.size++] = this;
    parent_ = parent;
    // A new element has nothing stored anywhere yet; anything else may come from another document,
    // whose storage must not be needed here once that document is gone.
    if (arena_ || children_.size != 0) KeepStorageWithRoot();
}

TNoxPigger* TNoxPigger::Child(int index) const {
    if (index < 0 || index >= ChildCount()) return nullptr;
    return children_.data[index];
}

int TNoxPigger::IndexOfChild(const TNoxPigger* child) const {
    TNoxPigger* const* first = children_.data;
    TNoxPigger* const* end = first + children_.size;
    TNoxPigger* const* at = std::find(first, end, child);
    return at == end ? -1 : static_cast<int>(at - first);
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
    TNoxPigger** d = children_.data;
    TNoxPigger* moving = d[currentIndex];
    if (currentIndex < newIndex)
        std::copy(d + currentIndex + 1, d + newIndex + 1, d + currentIndex);
    else
        std::copy_backward(d + newIndex, d + currentIndex, d + currentIndex + 1);
    d[newIndex] = moving;
}

// ---- attributes ----

const TMarkupString* TNoxPigger::FindAttr(std::string_view upperName) const {
    for (uint32_t i = 0; i < attrs_.size; ++i)
        if (attrs_.data[i].first == upperName) return &attrs_.data[i].second;
    return nullptr;
}

std::string TNoxPigger::GetAttr(const std::string& name) const {
    const TMarkupString* value = FindAttr(AsciiUpper(name));
    return value ? value->str() : std::string();
}

void TNoxPigger::SetAttr(const std::string& name, const std::string& value) {
    if (value.empty()) {
        DeleteAttr(name);
        return;
    }
    const std::string key = AsciiUpper(name);
    for (uint32_t i = 0; i < attrs_.size; ++i)
        if (attrs_.data[i].first == key) {
            attrs_.data[i].second = value;
            return;
        }
    AppendAttr(key, value);
}

void TNoxPigger::DeleteAttr(const std::string& name) {
    const std::string key = AsciiUpper(name);
    for (uint32_t i = 0; i < attrs_.size; ++i)
        if (attrs_.data[i].first == key) {
            attrs_.data[i].~Attribute();
            for (uint32_t j = i; j + 1 < attrs_.size; ++j)
                ElementStorage::Relocate(attrs_.data + j, attrs_.data + j + 1);
            --attrs_.size;
            return;
        }
}

void TNoxPigger::AppendAttr(const std::string& name, const std::string& value) {
    // Name and value are std::strings, never bytes of this list, so the list may move first.
    ElementStorage::MakeRoom(attrs_);
    new (attrs_.data + attrs_.size) Attribute(AsciiUpper(name), value);
    ++attrs_.size;
}

// ---- lookups ----

TNoxPigger* TNoxPigger::FindChild(const std::string& tagName) const {
    const std::string key = AsciiUpper(tagName);
    for (uint32_t i = 0; i < children_.size; ++i)
        if (children_.data[i]->tag_ == key) return children_.data[i];
    return nullptr;
}

TNoxPigger* TNoxPigger::FindChildByAttr(const std::string& attrName, const std::string& value) const {
    const std::string key = AsciiUpper(attrName);
    for (uint32_t i = 0; i < children_.size; ++i) {
        const TMarkupString* v = children_.data[i]->FindAttr(key);
        if (SameAscii(v ? v->view() : std::string_view(), value)) return children_.data[i];
    }
    return nullptr;
}

TNoxPigger* TNoxPigger::FindNextSibling(const TNoxPigger* child) const {
    if (!child) return nullptr;
    int start = IndexOfChild(child) + 1; // not a child: -1 + 1 starts at the first
    for (int i = start; i < ChildCount(); ++i)
        if (children_.data[i]->tag_ == child->tag_) return children_.data[i];
    return nullptr;
}

// ---- copy ----

TNoxPigger* TNoxPigger::NewInstance(TNoxPigger* parent) const {
    return new TNoxPigger(parent);
}

namespace {
// Tag, text and attributes of from, and room for its children, in to, whose storage is the arena.
void CopyContent(TNoxPigger& to, const TNoxPigger& from, TMarkupArena& arena) {
    ElementStorage::Tag(to) = from.TagName();
    if (!from.Text.empty())
        Strings::Place(to.Text, arena.Copy(from.Text.data(), from.Text.size()), from.Text.size());
    else
        to.Text.clear();
    auto& attrs = ElementStorage::Attrs(to);
    ElementStorage::Free(attrs);
    const auto source = from.Attributes();
    if (!source.empty()) {
        ElementStorage::Reallocate(attrs, static_cast<uint32_t>(source.size()), &arena);
        for (const Attribute& a : source) {
            Attribute* copy = new (attrs.data + attrs.size) Attribute();
            ++attrs.size;
            if (!a.first.empty())
                Strings::Place(copy->first, arena.Copy(a.first.data(), a.first.size()), a.first.size());
            if (!a.second.empty())
                Strings::Place(copy->second, arena.Copy(a.second.data(), a.second.size()), a.second.size());
        }
    }
    auto& children = ElementStorage::Children(to);
    const auto wanted = children.size + static_cast<uint32_t>(from.ChildCount());
    if (wanted > children.capacity) ElementStorage::Reallocate(children, wanted, &arena);
}
} // namespace

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
    // The copy gets storage of its own, as a load does.
    MoveStorageTo(new TMarkupArena(4096));
    TMarkupArena& arena = *arena_;
    CopyContent(*this, source, arena);
    // A work list instead of recursion, so deep trees copy safely.
    std::vector<std::pair<const TNoxPigger*, TNoxPigger*>> work{{&source, this}};
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        for (const TNoxPigger* c : from->Children()) {
            TNoxPigger* copy = c->NewInstance(to);
            copy->MoveStorageTo(&arena);
            CopyContent(*copy, *c, arena);
            work.emplace_back(c, copy);
        }
    }
}

// ---- writer ----

namespace {
// Lists are a few levels deep; past this a tree may owe most of its text to indents, which are not in
// memory, so its size is worked out before any of it is built.
constexpr size_t kWriteInOnePass = 256;

// The text under construction: room ensured before each element, so the writing itself never checks.
class TextBuffer {
public:
    explicit TextBuffer(size_t expected) {
        out_.resize(expected);
        w = out_.data();
        end_ = w + expected;
    }
    void Reserve(size_t n) {
        if (static_cast<size_t>(end_ - w) < n) Grow(n);
    }
    size_t Used() const { return static_cast<size_t>(w - out_.data()); }
    std::string Take() {
        out_.resize(Used());
        // A guess far off would keep twice the memory for as long as the caller keeps the text.
        if (out_.capacity() - out_.size() > out_.size() / 4 + 4096) out_.shrink_to_fit();
        return std::move(out_);
    }
    void Put(const char* s, size_t n) {
        TMarkupArena::CopyBytes(w, s, n);
        w += n;
    }
    void Indent(size_t depth) {
        w[0] = '\r';
        w[1] = '\n';
        std::memset(w + 2, '\t', depth);
        w += 2 + depth;
    }
    char* w;

private:
    void Grow(size_t n) {
        const size_t used = Used();
        // Doubling stops at the largest text there may be: a tree that needs more is refused soon after.
        out_.resize(std::max(used + n, std::min(out_.size() * 2, kMaxTextSize + 1)));
        w = out_.data() + used;
        end_ = out_.data() + out_.size();
    }
    std::string out_;
    char* end_;
};
} // namespace

struct TextWriter {
    // Writes the subtree; false when it stopped, with the text incomplete, at an element deeper than
    // maxDepth or past kMaxTextSize bytes.
    static bool Write(const TNoxPigger& root, TextBuffer& b, size_t maxDepth) {
        bool stopped = false;
        ElementStorage::Walk(
            root, static_cast<size_t>(root.Depth()),
            [&](const TNoxPigger& e, size_t depth) {
                if (stopped || depth > maxDepth || b.Used() > kMaxTextSize) {
                    stopped = true;
                    return false;
                }
                // At most: indent, "<", tag, the attributes with every byte of their values escaped,
                // ">", the text escaped likewise, or "/>".
                size_t most = 2 + depth + 1 + e.tag_.size() + 1 + 3 * size_t{e.Text.size()} + 2;
                for (uint32_t i = 0; i < e.attrs_.size; ++i)
                    most += 4 + e.attrs_.data[i].first.size() + 3 * size_t{e.attrs_.data[i].second.size()};
                b.Reserve(most);
                b.Indent(depth);
                *b.w++ = '<';
                b.Put(e.tag_.data(), e.tag_.size());
                for (uint32_t i = 0; i < e.attrs_.size; ++i) {
                    const Attribute& a = e.attrs_.data[i];
                    *b.w++ = ' ';
                    b.Put(a.first.data(), a.first.size());
                    b.w[0] = '=';
                    b.w[1] = '"';
                    b.w += 2;
                    WriteEncoded(b.w, a.second.data(), a.second.size());
                    *b.w++ = '"';
                }
                if (e.children_.size == 0 && e.Text.empty()) {
                    b.w[0] = '/';
                    b.w[1] = '>';
                    b.w += 2;
                    return false;
                }
                *b.w++ = '>';
                WriteEncoded(b.w, e.Text.data(), e.Text.size());
                return true;
            },
            [&](const TNoxPigger& e, size_t depth) {
                if (stopped) return;
                b.Reserve(2 + depth + 2 + e.tag_.size() + 1);
                b.Indent(depth);
                b.w[0] = '<';
                b.w[1] = '/';
                b.w += 2;
                b.Put(e.tag_.data(), e.tag_.size());
                *b.w++ = '>';
            });
        return !stopped && b.Used() <= kMaxTextSize;
    }
};

std::string TNoxPigger::GetText() const {
    // Most texts are written in one pass, into room guessed from the last load or save of the document.
    // The guess belongs to the whole document; a part of it grows its room as it goes.
    const bool whole = arena_ && !parent_;
    const size_t guess = whole ? arena_->TextSizeHint() : 0;
    {
        TextBuffer b(guess + guess / 16 + 4096);
        if (TextWriter::Write(*this, b, kWriteInOnePass)) {
            std::string text = b.Take();
            if (whole) arena_->SetTextSizeHint(text.size());
            return text;
        }
    }
    // Too deep or too large for one pass: the exact size first, refused before anything is built.
    const size_t size = TextSize();
    if (size > kMaxTextSize)
        throw EStreamError("The text would take " + std::to_string(size) +
                           " bytes, more than the 1 GiB a file may have; nothing was written");
    TextBuffer b(size);
    TextWriter::Write(*this, b, SIZE_MAX);
    return b.Take();
}

// Mirrors GetText, counting instead of writing.
size_t TNoxPigger::TextSize() const {
    size_t total = 0;
    ElementStorage::Walk(
        *this, static_cast<size_t>(Depth()),
        [&total](const TNoxPigger& e, size_t depth) {
            total += 2 + depth + 1 + e.tag_.size(); // indent, "<", tag
            for (uint32_t i = 0; i < e.attrs_.size; ++i)
                total += 1 + e.attrs_.data[i].first.size() + 2 + EncodedSize(e.attrs_.data[i].second) + 1;
            if (e.children_.size == 0 && e.Text.empty()) {
                total += 2; // "/>"
                return false;
            }
            total += 1 + EncodedSize(e.Text);
            return true;
        },
        [&total](const TNoxPigger& e, size_t depth) { total += 2 + depth + 2 + e.tag_.size() + 1; });
    return total;
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
    if (arena_) arena_->SetTextSizeHint(text.size());
}

void TNoxPigger::ParseElement(const std::string& text, int32_t& p) {
    // Positions are 32-bit; a text they cannot address is refused rather than misread.
    if (text.size() > static_cast<size_t>(INT32_MAX) - 8) SyntaxError(1);
    // What the text holds is stored with this element's own storage; a first load makes one about as
    // large as the text, which a list's names, values, texts and lists take up together.
    if (!arena_) MoveStorageTo(new TMarkupArena(text.size()));
    Parser(text, arena_).Run(*this, p);
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
[[maybe_unused]] uint64_t BytesEqual(uint64_t v, unsigned char c) {
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const uint64_t x = v ^ (0x0101010101010101ull * c);
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Whether every line break in [d, d + n) is already a CR LF pair: every LF follows a CR and every CR
// is followed by an LF. Many bytes a step, since the default build does not vectorise a byte loop.
bool OnlyCrLf(const char* d, size_t n) {
    if (n == 0) return true;
    if (d[0] == '\n' || d[n - 1] == '\r') return false;
    size_t i = 0;
#if defined(__SSE2__)
    {
        unsigned bad = 0, prevCr = 0;
        for (; i + 16 <= n; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            const auto cr = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))));
            const auto lf = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))));
            bad |= lf ^ (((cr << 1) | prevCr) & 0xFFFF);
            prevCr = cr >> 15;
        }
        if (bad) return false;
    }
#else
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
    }
#endif
    for (i = std::max<size_t>(i, 1); i < n; ++i)
        if ((d[i] == '\n') != (d[i - 1] == '\r')) return false;
    return true;
}

std::string Reason(int error) {
    return std::strerror(error);
}

size_t UpToNul(const std::string& bytes) {
    const void* nul = std::memchr(bytes.data(), '\0', bytes.size());
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes.data()) : bytes.size();
}

// The rule of NormalizeLineBreaks, on a text of the caller's to change: a file the program wrote
// changes at most by a final CR LF, without a copy.
void NormalizeInPlace(std::string& bytes) {
    const size_t n = UpToNul(bytes);
    if (!OnlyCrLf(bytes.data(), n)) {
        bytes = NormalizeLineBreaks(bytes);
        return;
    }
    bytes.resize(n);
    if (n > 0 && !(n >= 2 && bytes[n - 2] == '\r' && bytes[n - 1] == '\n')) bytes += "\r\n";
}
} // namespace

std::string NormalizeLineBreaks(const std::string& bytes) {
    const size_t n = UpToNul(bytes);
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
    std::string bytes;
    if (std::streambuf* buffer = stream.rdbuf()) {
        char chunk[65536];
        for (std::streamsize got; (got = buffer->sgetn(chunk, sizeof chunk)) > 0;)
            bytes.append(chunk, static_cast<size_t>(got));
    }
    NormalizeInPlace(bytes);
    SetText(std::move(bytes));
}

void TNoxPigger::LoadFromFile(const std::string& fileName) {
    std::string bytes = ReadFileBytes(fileName);
    NormalizeInPlace(bytes);
    SetText(std::move(bytes));
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
    // Room for the CR LF a load may add at the end, so the text never has to move for it.
    if (S_ISREG(st.st_mode)) bytes.reserve(std::min(static_cast<size_t>(st.st_size), kMaxTextSize + 1) + 2);
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
