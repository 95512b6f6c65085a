#include "common/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

#include "common/cp1250.h"
#include "common/errors.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#define CW_HAVE_FSYNC 1
#endif

namespace fs = std::filesystem;

namespace cw {

namespace {

std::string describe(const fs::path& path) { return "\"" + pathText(path) + "\""; }

std::string errnoText(int err) { return err != 0 ? std::string(std::strerror(err)) : "unknown error"; }

}  // namespace

void FileCloser::operator()(std::FILE* file) const noexcept {
    if (file != nullptr) std::fclose(file);
}

FileHandle openFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
    // The mode is ASCII: widened character by character.
    std::wstring wideMode;
    for (const char* c = mode; *c != '\0'; ++c) wideMode.push_back(static_cast<wchar_t>(*c));
    return FileHandle(::_wfopen(path.c_str(), wideMode.c_str()));
#else
    return FileHandle(std::fopen(path.c_str(), mode));
#endif
}

bool closeFile(FileHandle& file) {
    if (!file) return true;
    return std::fclose(file.release()) == 0;
}

std::string pathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileHandle openFileForReading(const fs::path& path) {
    errno = 0;
    FileHandle f = openFile(path, "rb");
    if (!f) throw IoError("Cannot open " + describe(path) + ": " + errnoText(errno));
    return f;
}

void failedToRead(const fs::path& path) {
    throw IoError("Cannot read " + describe(path) + ": " + errnoText(errno));
}

std::vector<std::uint8_t> readFile(const fs::path& path) {
    const FileHandle f = openFileForReading(path);
    // One read straight into a buffer of the file's size; then whatever more the file holds
    // (it may grow while it is read, or its size may not be known in advance).
    std::vector<std::uint8_t> bytes;
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (!ec) bytes.resize(static_cast<std::size_t>(size));
    const std::size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), f.get());
    bytes.resize(got);
    std::uint8_t buffer[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (n < sizeof buffer) break;
    }
    if (std::ferror(f.get())) failedToRead(path);
    return bytes;
}

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

void writeFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) throw IoError("Cannot write a file with an empty name");
    std::random_device rd;
    fs::path temp = path;
    temp += ".cwtmp" + std::to_string(rd() % 1000000u);

    auto fail = [&](const std::string& what, int err) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw IoError("Cannot write " + describe(path) + ": " + what + (err ? ": " + errnoText(err) : ""));
    };

    errno = 0;
    FileHandle f = openFile(temp, "wb");
    if (!f) {
        int err = errno;
        throw IoError("Cannot create " + describe(path) + ": " + errnoText(err));
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
        int err = errno;
        f.reset();
        fail("write failed", err);
    }
    if (std::fflush(f.get()) != 0) {
        int err = errno;
        f.reset();
        fail("write failed", err);
    }
#ifdef CW_HAVE_FSYNC
    if (::fsync(::fileno(f.get())) != 0 && errno != EINVAL && errno != EROFS) {
        int err = errno;
        f.reset();
        fail("flush to disk failed", err);
    }
#endif
    if (!closeFile(f)) fail("close failed", errno);
    std::error_code renamed;
    fs::rename(temp, path, renamed);
    if (renamed) {
        // The rename's error is the cause; the clean-up must not replace it.
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw IoError("Cannot write " + describe(path) + ": " + renamed.message());
    }
}

fs::path findDataFile(const fs::path& programFolder, std::string_view name) {
    fs::path own = programFolder / fs::path(std::string(name));
    if (fileExists(own)) return own;
    fs::path installed = programFolder / ".." / "share" / "cairnwork" / fs::path(std::string(name));
    if (fileExists(installed)) return installed.lexically_normal();
    return own;
}

fs::path pathFromBytes(std::string_view bytes) {
    // Built from UTF-8 text, which every platform's path takes as such (a path built from a
    // plain string would read it in the system's code page on Windows).
    const std::string utf8 = cp1250ToUtf8(bytes);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace cw
