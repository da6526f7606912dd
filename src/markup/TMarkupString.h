// The string of an element's text and attributes: bytes that a load or copy places in its document's
// storage, or that the string owns once someone assigns it. Reads like a const std::string and converts
// to and from one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

class TMarkupString {
public:
    using size_type = std::size_t;
    static constexpr size_type npos = std::string::npos;

    TMarkupString() noexcept = default;
    TMarkupString(const char* s) { Assign(std::string_view(s)); }
    TMarkupString(const std::string& s) { Assign(s); }
    TMarkupString(std::string_view s) { Assign(s); }
    // A copy or a move always owns its bytes: a string outside an element never depends on a document.
    TMarkupString(const TMarkupString& other) { Assign(other.view()); }
    TMarkupString(TMarkupString&& other);
    ~TMarkupString() {
        if (capacity_ != 0) FreeBlock();
    }

    TMarkupString& operator=(const TMarkupString& other);
    TMarkupString& operator=(TMarkupString&& other);
    TMarkupString& operator=(const std::string& s) { return Assign(s); }
    TMarkupString& operator=(std::string_view s) { return Assign(s); }
    TMarkupString& operator=(const char* s) { return Assign(std::string_view(s)); }

    TMarkupString& operator+=(std::string_view s) { return Append(s); }
    TMarkupString& operator+=(const std::string& s) { return Append(s); }
    TMarkupString& operator+=(const char* s) { return Append(std::string_view(s)); }
    TMarkupString& operator+=(const TMarkupString& s) { return Append(s.view()); }
    TMarkupString& operator+=(char c) { return Append(std::string_view(&c, 1)); }

    size_type size() const noexcept { return size_; }
    size_type length() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    const char* data() const noexcept { return data_; }
    const char* c_str() const noexcept { return data_; }
    const char* begin() const noexcept { return data_; }
    const char* end() const noexcept { return data_ + size_; }
    char operator[](size_type i) const noexcept { return data_[i]; }
    char front() const noexcept { return data_[0]; }
    char back() const noexcept { return data_[size_ - 1]; }
    size_type find(std::string_view s, size_type from = 0) const noexcept { return view().find(s, from); }
    size_type find(char c, size_type from = 0) const noexcept { return view().find(c, from); }
    std::string substr(size_type from, size_type n = npos) const {
        return std::string(view().substr(from, n));
    }
    void clear() noexcept;

    std::string_view view() const noexcept { return {data_, size_}; }
    std::string str() const { return std::string(data_, size_); }
    operator std::string_view() const noexcept { return view(); }
    operator std::string() const { return str(); }

    friend bool operator==(const TMarkupString& a, const TMarkupString& b) noexcept {
        return a.view() == b.view();
    }
    friend bool operator==(const TMarkupString& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const TMarkupString& a, const std::string& b) noexcept { return a.view() == b; }
    friend bool operator==(const TMarkupString& a, const char* b) noexcept { return a.view() == b; }
    friend auto operator<=>(const TMarkupString& a, const TMarkupString& b) noexcept {
        return a.view() <=> b.view();
    }
    friend auto operator<=>(const TMarkupString& a, std::string_view b) noexcept { return a.view() <=> b; }

private:
    // The element tree places bytes of its documents' storage here without copying them.
    friend struct MarkupStringAccess;

    TMarkupString& Assign(std::string_view s);
    TMarkupString& Append(std::string_view s);
    // Forgets the bytes, freeing them when they are this string's own.
    void Release() noexcept {
        if (capacity_ != 0) FreeBlock();
        data_ = "";
        size_ = 0;
        capacity_ = 0;
    }
    void FreeBlock() noexcept;
    // Takes the other's bytes as they stand, owned or not, leaving it empty; this one holds none.
    void TakeOver(TMarkupString& other) noexcept;

    const char* data_ = ""; // always followed by a NUL
    uint32_t size_ = 0;
    uint32_t capacity_ = 0; // bytes of the block this string owns; 0 when it owns none
};

std::string operator+(const TMarkupString& a, const TMarkupString& b);
std::string operator+(const TMarkupString& a, std::string_view b);
std::string operator+(std::string_view a, const TMarkupString& b);
std::string operator+(const TMarkupString& a, const std::string& b);
std::string operator+(const std::string& a, const TMarkupString& b);
std::string operator+(std::string&& a, const TMarkupString& b);
std::string operator+(const TMarkupString& a, const char* b);
std::string operator+(const char* a, const TMarkupString& b);
std::string operator+(const TMarkupString& a, char b);
std::ostream& operator<<(std::ostream& out, const TMarkupString& s);
