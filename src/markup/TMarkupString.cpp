#include "markup/TMarkupString.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <ostream>
#include <stdexcept>

namespace {

constexpr size_t kMaxSize = std::numeric_limits<uint32_t>::max() - 1;

void CheckSize(size_t n) {
    if (n > kMaxSize) throw std::length_error("A markup string cannot hold more than 4 GiB");
}

} // namespace

TMarkupString::TMarkupString(TMarkupString&& other) {
    if (other.capacity_ == 0) {
        Assign(other.view());
        return;
    }
    TakeOver(other);
}

void TMarkupString::TakeOver(TMarkupString& other) noexcept {
    data_ = other.data_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.data_ = "";
    other.size_ = 0;
    other.capacity_ = 0;
}

TMarkupString& TMarkupString::operator=(const TMarkupString& other) {
    return Assign(other.view());
}

TMarkupString& TMarkupString::operator=(TMarkupString&& other) {
    if (this == &other) return *this;
    if (other.capacity_ == 0) return Assign(other.view());
    Release();
    TakeOver(other);
    return *this;
}

void TMarkupString::FreeBlock() noexcept {
    delete[] const_cast<char*>(data_);
}

void TMarkupString::clear() noexcept {
    if (capacity_ != 0) {
        const_cast<char*>(data_)[0] = '\0';
        size_ = 0;
        return;
    }
    data_ = "";
    size_ = 0;
}

TMarkupString& TMarkupString::Assign(std::string_view s) {
    CheckSize(s.size());
    const auto n = static_cast<uint32_t>(s.size());
    if (capacity_ > n) {
        // The source may lie inside this very string.
        char* own = const_cast<char*>(data_);
        std::memmove(own, s.data(), n);
        own[n] = '\0';
        size_ = n;
        return *this;
    }
    if (n == 0) {
        Release();
        return *this;
    }
    char* block = new char[n + 1];
    std::memcpy(block, s.data(), n);
    block[n] = '\0';
    Release();
    data_ = block;
    size_ = n;
    capacity_ = n + 1;
    return *this;
}

TMarkupString& TMarkupString::Append(std::string_view s) {
    if (s.empty()) return *this;
    CheckSize(size_ + s.size());
    const auto n = static_cast<uint32_t>(size_ + s.size());
    if (capacity_ > n) {
        char* own = const_cast<char*>(data_);
        std::memmove(own + size_, s.data(), s.size());
        own[n] = '\0';
        size_ = n;
        return *this;
    }
    // Grows by half again, so appending piece by piece stays linear.
    const size_t wanted = std::min<size_t>(kMaxSize + 1, std::max<size_t>(n + 1, size_t{capacity_} * 3 / 2));
    char* block = new char[wanted];
    std::memcpy(block, data_, size_);
    std::memcpy(block + size_, s.data(), s.size());
    block[n] = '\0';
    Release();
    data_ = block;
    size_ = n;
    capacity_ = static_cast<uint32_t>(wanted);
    return *this;
}

std::string operator+(const TMarkupString& a, const TMarkupString& b) {
    return operator+(a.view(), b);
}
std::string operator+(const TMarkupString& a, std::string_view b) {
    std::string out;
    out.reserve(a.size() + b.size());
    out.append(a.view()).append(b);
    return out;
}
std::string operator+(std::string_view a, const TMarkupString& b) {
    std::string out;
    out.reserve(a.size() + b.size());
    out.append(a).append(b.view());
    return out;
}
std::string operator+(const TMarkupString& a, const std::string& b) {
    return a + std::string_view(b);
}
std::string operator+(const std::string& a, const TMarkupString& b) {
    return std::string_view(a) + b;
}
std::string operator+(std::string&& a, const TMarkupString& b) {
    a.append(b.view());
    return std::move(a);
}
std::string operator+(const TMarkupString& a, const char* b) {
    return a + std::string_view(b);
}
std::string operator+(const char* a, const TMarkupString& b) {
    return std::string_view(a) + b;
}
std::string operator+(const TMarkupString& a, char b) {
    return a + std::string_view(&b, 1);
}

std::ostream& operator<<(std::ostream& out, const TMarkupString& s) {
    return out << s.view();
}
