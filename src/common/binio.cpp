#include "common/binio.h"

#include <algorithm>

namespace cw {

namespace {
constexpr std::size_t kFileBuffer = 1 << 16;
}

ByteReader::ByteReader(std::FILE* file, std::size_t size, std::string what)
    : size_(size), what_(std::move(what)), file_(file) {
    buffer_.resize(kFileBuffer);
}

void ByteReader::refill() {
    base_ += window_.size();
    pos_ = 0;
    const std::size_t want = std::min(kFileBuffer, size_ - base_);
    const std::size_t got = want == 0 ? 0 : std::fread(buffer_.data(), 1, want, file_);
    window_ = std::span<const std::uint8_t>(buffer_.data(), got);
    if (got < want) {
        size_ = base_ + got;  // the file is shorter than it was
    }
}

void ByteReader::readSlow(std::uint8_t* dst, std::size_t n) {
    need(n);
    if (file_ == nullptr) failShort(n);  // unreachable: need() covers a span
    const std::size_t atHand = window_.size() - pos_;
    if (atHand != 0) std::memcpy(dst, window_.data() + pos_, atHand);
    pos_ += atHand;
    dst += atHand;
    n -= atHand;
    if (n >= kFileBuffer) {
        // Straight from the file into place; the window is empty and starts after it.
        base_ += window_.size();
        window_ = {};
        pos_ = 0;
        const std::size_t got = std::fread(dst, 1, n, file_);
        base_ += got;
        if (got < n) {
            size_ = base_;
            failShort(n - got);
        }
        return;
    }
    refill();
    if (n > window_.size()) failShort(n);
    std::memcpy(dst, window_.data(), n);
    pos_ = n;
}

std::span<const std::uint8_t> ByteReader::take(std::size_t n) {
    need(n);
    if (file_ == nullptr) {  // memory: the window is the whole input and outlives every read
        auto s = window_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    // File: the bytes get a block of their own, which no later read or take touches (a deque
    // never moves its elements when it grows).
    std::vector<std::uint8_t>& block = taken_.emplace_back(n);
    read(block.data(), n);
    return block;
}

void ByteReader::seek(std::size_t offset) {
    if (offset > size_) failShort(offset - position());
    if (offset >= base_ && offset <= base_ + window_.size()) {
        pos_ = offset - base_;
        return;
    }
    if (file_ == nullptr) failShort(offset - position());  // unreachable: a span is one window
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
        throw IoError(what_ + " cannot be read at byte " + std::to_string(offset));
    }
    base_ = offset;
    window_ = {};
    pos_ = 0;
}

void ByteReader::requireCount(std::uint64_t count, std::uint64_t capacity, std::string_view list,
                              std::size_t elementSize) const {
    if (count > capacity) {
        throw FormatError(what_ + " has " + std::to_string(count) + " " + std::string(list) +
                          "; at most " + std::to_string(capacity) + " are supported");
    }
    need(static_cast<std::size_t>(count * elementSize));
}

void ByteReader::failShort(std::size_t wanted) const {
    throw IoError(what_ + " ends early: " + std::to_string(wanted) + " more bytes needed at byte " +
                  std::to_string(position()) + " of " + std::to_string(size_));
}

}  // namespace cw
