// The storage that one load or copy builds its elements' strings and lists in: a few large blocks,
// handed out front to back and freed together once no element refers to them any more.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Under AddressSanitizer every allocation gets a poisoned gap after it and the unused room stays
// poisoned, so reading past a string or a list is caught as it would be with separate heap blocks.
#if defined(__SANITIZE_ADDRESS__)
#define QM_ARENA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_ARENA_ASAN 1
#endif
#endif
#ifndef QM_ARENA_ASAN
#define QM_ARENA_ASAN 0
#endif

class TMarkupArena {
public:
    // The first block holds about firstBlock bytes; each further one at least as much as all before.
    explicit TMarkupArena(size_t firstBlock);
    ~TMarkupArena();
    TMarkupArena(const TMarkupArena&) = delete;
    TMarkupArena& operator=(const TMarkupArena&) = delete;

    // Every element whose strings or lists lie here holds one reference; the last one frees the arena.
    void Ref() noexcept { ++refs_; }
    void Unref() noexcept {
        if (--refs_ == 0) delete this;
    }

    // Uninitialised room for n bytes, aligned to align (a power of two).
    void* Allocate(size_t n, size_t align) {
#if QM_ARENA_ASAN
        return AllocateChecked(n, align);
#else
        char* at = Align(next_, align);
        if (at > end_ || n > static_cast<size_t>(end_ - at)) return AllocateSlow(n, align);
        next_ = at + n;
        return at;
#endif
    }
    template <typename T> T* AllocateArray(size_t count) {
        return static_cast<T*>(Allocate(count * sizeof(T), alignof(T)));
    }
    // A copy of the bytes followed by a NUL.
    const char* Copy(const char* bytes, size_t n) {
        char* p = static_cast<char*>(Allocate(n + 1, 1));
        CopyBytes(p, bytes, n);
        p[n] = '\0';
        return p;
    }
    // memcpy, without the call for the few bytes of a typical name or value.
    static void CopyBytes(char* to, const char* from, size_t n) {
        if (n >= 8 && n <= 16) {
            uint64_t a, b;
            std::memcpy(&a, from, 8);
            std::memcpy(&b, from + n - 8, 8);
            std::memcpy(to, &a, 8);
            std::memcpy(to + n - 8, &b, 8);
        } else if (n < 8) {
            for (size_t i = 0; i < n; ++i)
                to[i] = from[i];
        } else {
            std::memcpy(to, from, n);
        }
    }
    // Gives back the end of the latest allocation, which began at block and took n bytes, keeping used.
    void Shrink(const void* block, size_t n, size_t used) noexcept;

    size_t BytesReserved() const noexcept {
        return reserved_;
    }
    // The size of the text the document was last loaded from or saved as: room to write it again.
    // Saving is a const operation, which two threads may run at once on one document.
    size_t TextSizeHint() const noexcept {
        return textSizeHint_.load(std::memory_order_relaxed);
    }
    void SetTextSizeHint(size_t size) noexcept {
        textSizeHint_.store(size, std::memory_order_relaxed);
    }

private:
    struct Block {
        Block* next;
        size_t size;
    };

    static char* Align(char* p, size_t align) noexcept {
        return reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(p) + align - 1) &
                                       ~(uintptr_t{align} - 1));
    }
    void* AllocateSlow(size_t n, size_t align);
    void* AllocateChecked(size_t n, size_t align);

    Block* blocks_ = nullptr;
    char* next_ = nullptr;
    char* end_ = nullptr;
    size_t firstBlock_;
    size_t reserved_ = 0;
    size_t refs_ = 0;
    std::atomic<size_t> textSizeHint_{0};
};
