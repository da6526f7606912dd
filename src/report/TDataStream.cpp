#include "report/TDataStream.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {
constexpr size_t kStep = 4096;
}

TDataStream::~TDataStream() {
    TDataStream::Reset();
}

void TDataStream::Add(std::string_view text) {
    if (text.size() > static_cast<size_t>(INT32_MAX - used_))
        throw std::length_error("The report is too large");
    const size_t need = static_cast<size_t>(used_) + text.size();
    // std::string keeps the real capacity growing geometrically, so the steps cost no quadratic copying.
    if (need > text_.size()) text_.resize((need + kStep - 1) / kStep * kStep);
    if (!text.empty()) std::memcpy(text_.data() + used_, text.data(), text.size());
    used_ = static_cast<int32_t>(need);
}

std::string TDataStream::Extract(int32_t count) {
    const int32_t n = count > 0 ? std::min(count, used_) : used_;
    std::string out(text_.data(), static_cast<size_t>(n));
    text_.erase(0, static_cast<size_t>(n));
    used_ -= n;
    return out;
}

void TDataStream::Reset() {
    text_.clear();
    used_ = 0;
}
