// The growable text buffer in which a report is assembled.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TDataStream {
public:
    TDataStream() = default;
    virtual ~TDataStream();

    // Appends bytes. Throws std::length_error when the report would pass what a 32-bit length counts.
    virtual void Add(std::string_view text);
    // Takes the first `count` bytes (all of them when count is 0 or less, at most what there is) from
    // the front.
    virtual std::string Extract(int32_t count);
    virtual void Reset();

    int32_t Size() const { return used_; }
    std::string_view View() const { return {text_.data(), static_cast<size_t>(used_)}; }

private:
    std::string text_; // its size is the allocated length, a multiple of 4096
    int32_t used_ = 0;
};
