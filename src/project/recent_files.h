#pragma once
// The recent-files list "config.cnf": one project path per line, CR LF, most recent first, at
// most 5 paths. Paths are Windows-1250 bytes, as the core keeps every text; two paths are the
// same when they differ only in the case of their letters (Windows-1250 letters included).
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class RecentFiles {
public:
    static constexpr std::size_t kMaxEntries = 5;

    // Reads the list. A missing or unreadable file gives an empty list; of a longer file the
    // first 5 paths are taken. Empty lines are skipped; a line may end in CR LF or LF.
    void load(const std::filesystem::path& file);

    // Records a successful save of `path`: an entry equal to it but for case moves to the front
    // (keeping its spelling); otherwise path is put in front and a sixth entry is dropped.
    // An empty path is ignored.
    void touch(const std::string& path);

    // Records a successful save of the file named by a UTF-8 path (as the file system names
    // it): touch with its Windows-1250 bytes. A path that Windows-1250 cannot write is not
    // recorded, since the list could not name the file again; returns whether it was recorded.
    bool touchFile(std::string_view utf8Path);

    // Writes the list, each path followed by CR LF, through a temporary file renamed over
    // `file`. Throws IoError; a failed write leaves the old file as it was.
    void save(const std::filesystem::path& file) const;

    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};

// True when a and b are the same Windows-1250 text but for the case of their letters.
bool equalIgnoringCase1250(std::string_view a, std::string_view b);

}  // namespace cw
