#include "markup/TMarkupArena.h"

#include <algorithm>
#include <cstring>
#include <new>

#if QM_ARENA_ASAN
#include <sanitizer/asan_interface.h>
#define QM_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define QM_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define QM_POISON(p, n) ((void)(p), (void)(n))
#define QM_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

constexpr size_t kMinBlock = 256;
// Blocks grow with the arena, but past this a document grows by steps of this size, not by doubling.
constexpr size_t kMaxGrowth = size_t{64} << 20;
constexpr size_t kRedZone = QM_ARENA_ASAN ? 16 : 0;

} // namespace

TMarkupArena::TMarkupArena(size_t firstBlock) : firstBlock_(std::max(firstBlock, kMinBlock)) {}

TMarkupArena::~TMarkupArena() {
    while (blocks_) {
        Block* b = blocks_;
        blocks_ = b->next;
        QM_UNPOISON(b + 1, b->size);
        ::operator delete(b);
    }
}

void* TMarkupArena::AllocateSlow(size_t n, size_t align) {
    const size_t need = n + align + kRedZone;
    size_t size = std::max(firstBlock_, std::min(reserved_, kMaxGrowth));
    const bool own = blocks_ && need > size / 2;
    size = std::max(size, need);
    auto* b = static_cast<Block*>(::operator new(sizeof(Block) + size));
    b->size = size;
    reserved_ += size;
    char* data = reinterpret_cast<char*>(b + 1);
    QM_POISON(data, size);
    char* at = Align(data, align);
    QM_UNPOISON(at, n);
    if (own) {
        // A request this large gets a block of its own; the current one goes on serving the small ones.
        b->next = blocks_->next;
        blocks_->next = b;
        return at;
    }
    b->next = blocks_;
    blocks_ = b;
    next_ = at + n + kRedZone;
    end_ = data + size;
    return at;
}

void* TMarkupArena::AllocateChecked(size_t n, size_t align) {
    align = std::max<size_t>(align, 8);
    char* at = Align(next_, align);
    if (!next_ || at > end_ || n + kRedZone > static_cast<size_t>(end_ - at)) return AllocateSlow(n, align);
    next_ = at + n + kRedZone;
    QM_UNPOISON(at, n);
    return at;
}

void TMarkupArena::Shrink(const void* block, size_t n, size_t used) noexcept {
    char* b = static_cast<char*>(const_cast<void*>(block));
    if (used > n || b + n + kRedZone != next_) return;
    QM_POISON(b + used, n - used);
    next_ = b + used + kRedZone;
}
