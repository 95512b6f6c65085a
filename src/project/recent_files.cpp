#include "project/recent_files.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "common/cp1250.h"
#include "common/errors.h"
#include "common/files.h"

namespace cw {

namespace {

// Windows-1250 lower case: A-Z, the accented capitals at 0xC0..0xDE (except the multiplication
// sign 0xD7) and the capitals among 0x8A..0xBC, each to its small letter.
constexpr std::array<std::uint8_t, 256> makeLowerTable() {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c) t[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) t[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c + 32);
    }
    constexpr std::array<std::array<int, 2>, 10> pairs = {{{0x8A, 0x9A},    // S caron
                                                           {0x8C, 0x9C},    // S acute
                                                           {0x8D, 0x9D},    // T caron
                                                           {0x8E, 0x9E},    // Z caron
                                                           {0x8F, 0x9F},    // Z acute
                                                           {0xA3, 0xB3},    // L stroke
                                                           {0xA5, 0xB9},    // A ogonek
                                                           {0xAA, 0xBA},    // S cedilla
                                                           {0xAF, 0xBF},    // Z dot
                                                           {0xBC, 0xBE}}};  // L caron
    for (const auto& p : pairs) t[static_cast<std::size_t>(p[0])] = static_cast<std::uint8_t>(p[1]);
    return t;
}
constexpr std::array<std::uint8_t, 256> kLower = makeLowerTable();

}  // namespace

bool equalIgnoringCase1250(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return kLower[static_cast<std::uint8_t>(x)] == kLower[static_cast<std::uint8_t>(y)];
           });
}

void RecentFiles::load(const std::filesystem::path& file) {
    paths_.clear();
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readFile(file);
    } catch (const IoError&) {
        return;  // no list yet, or one that cannot be read: start empty
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    while (!text.empty() && paths_.size() < kMaxEntries) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) paths_.emplace_back(line);
    }
}

void RecentFiles::touch(const std::string& path) {
    if (path.empty()) return;
    auto same = std::find_if(paths_.begin(), paths_.end(),
                             [&](const std::string& p) { return equalIgnoringCase1250(p, path); });
    if (same != paths_.end()) {
        std::rotate(paths_.begin(), same, same + 1);
        return;
    }
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaxEntries) paths_.resize(kMaxEntries);
}

bool RecentFiles::touchFile(std::string_view utf8Path) {
    if (!fitsCp1250(utf8Path)) return false;
    touch(utf8ToCp1250(utf8Path));
    return true;
}

void RecentFiles::save(const std::filesystem::path& file) const {
    std::string text;
    for (const std::string& p : paths_) text += p + "\r\n";
    writeFileAtomically(file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace cw
