#pragma once
// Length-prefixed text of fixed capacity: one length byte, then up to Capacity characters
// (Windows-1250 bytes). A longer text is cut to the capacity when stored. The bytes after the
// text are kept zero, so a record holding PStrings compares and saves deterministically.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cw {

template <std::size_t Capacity>
struct PString {
    static_assert(Capacity <= 255, "the length is one byte");
    static constexpr std::size_t capacity = Capacity;
    static constexpr std::size_t storedBytes = Capacity + 1;  // size of the field in files

    std::uint8_t length = 0;
    std::array<char, Capacity> chars{};

    PString() = default;
    PString(std::string_view s) { assign(s); }  // NOLINT(google-explicit-constructor)

    void assign(std::string_view s) {
        std::size_t n = std::min(s.size(), Capacity);
        chars.fill(0);
        std::copy_n(s.data(), n, chars.data());
        length = static_cast<std::uint8_t>(n);
    }
    PString& operator=(std::string_view s) {
        assign(s);
        return *this;
    }
    void clear() { assign({}); }

    std::string_view view() const { return {chars.data(), std::min<std::size_t>(length, Capacity)}; }
    std::string str() const { return std::string(view()); }
    bool empty() const { return length == 0; }

    friend bool operator==(const PString& a, const PString& b) { return a.view() == b.view(); }
    friend bool operator==(const PString& a, std::string_view b) { return a.view() == b; }
};

}  // namespace cw
