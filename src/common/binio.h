#pragma once
// Little-endian reads and writes of binary formats.
//
// ByteReader walks a byte span, or an open file through a buffer, and checks every read against
// what is left; running past the end throws IoError ("... ends early ..."), so a short file can
// never be read outside its buffer. Counts read from a file are checked with requireCount()
// before anything is reserved or read for them. ByteWriter appends to a byte vector (a sink the
// tests can compare).
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/errors.h"

static_assert(std::endian::native == std::endian::little,
              "the record layouts are copied as little-endian bytes");

namespace cw {

class ByteReader;

// The typed reads of a reader whose read(dst, n) copies its next n bytes: each value as its
// little-endian bytes lie in the input.
template <class Reader>
class TypedReads {
public:
    std::uint8_t u8() { return value<std::uint8_t>(); }
    std::int8_t i8() { return value<std::int8_t>(); }
    std::uint16_t u16() { return value<std::uint16_t>(); }
    std::int16_t i16() { return value<std::int16_t>(); }
    std::uint32_t u32() { return value<std::uint32_t>(); }
    std::int32_t i32() { return value<std::int32_t>(); }

private:
    template <class T>
    T value() {
        T v;
        static_cast<Reader&>(*this).read(&v, sizeof v);
        return v;
    }
};

// The N bytes of one record, read from a ByteReader with one check of what is left
// (ByteReader::record), then taken apart in file order by the same little-endian reads. The bytes
// are looked at where the reader holds them (only a record that straddles a file reader's buffer
// is copied), so a record is valid until its reader reads on. A read past the record's N bytes
// is a fault of the caller's record layout (std::logic_error), never a read outside the record.
template <std::size_t N>
class RecordReader : public TypedReads<RecordReader<N>> {
public:
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // Copies n bytes into dst.
    void read(void* dst, std::size_t n) { std::memcpy(dst, take(n).data(), n); }
    // The next n bytes of the record.
    std::span<const std::uint8_t> take(std::size_t n) {
        if (n > N - pos_) throw std::logic_error("a record is read past its end");
        const std::span<const std::uint8_t> s(bytes_ + pos_, n);
        pos_ += n;
        return s;
    }
    std::size_t remaining() const { return N - pos_; }

private:
    friend class ByteReader;
    explicit RecordReader(ByteReader& reader);

    std::array<std::uint8_t, N> copy_;  // the bytes of a record that straddles a buffer
    const std::uint8_t* bytes_;
    std::size_t pos_ = 0;
};

class ByteReader : public TypedReads<ByteReader> {
public:
    // Reads bytes held in memory. `what` names the input in messages, e.g. "Project file x.cwp".
    explicit ByteReader(std::span<const std::uint8_t> bytes, std::string what = "File")
        : window_(bytes), size_(bytes.size()), what_(std::move(what)) {}
    // Reads an open file of `size` bytes from its current position, through a buffer; a large
    // read goes straight from the file into its destination. The file must stay open while the
    // reader is used. A file that turns out shorter than `size` ends early like a short span.
    ByteReader(std::FILE* file, std::size_t size, std::string what);
    // A reader is not copied: a copy of a file reader would read through the same file and look
    // at the other reader's buffer.
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;
    ByteReader(ByteReader&&) = default;
    ByteReader& operator=(ByteReader&&) = default;

    std::size_t position() const { return base_ + pos_; }
    std::size_t size() const { return size_; }
    std::size_t remaining() const { return size_ - position(); }
    bool atEnd() const { return position() == size_; }
    const std::string& what() const { return what_; }

    // Copies n bytes into dst.
    void read(void* dst, std::size_t n) {
        if (n <= window_.size() - pos_) {  // the common case: the bytes are at hand
            if (n != 0) std::memcpy(dst, window_.data() + pos_, n);
            pos_ += n;
            return;
        }
        readSlow(static_cast<std::uint8_t*>(dst), n);
    }
    // The next N bytes as one record, checked once (see RecordReader).
    template <std::size_t N>
    RecordReader<N> record() {
        return RecordReader<N>(*this);
    }
    // The next n bytes; later reads and takes never change them. A reader of memory hands out
    // its input's own bytes (valid as long as the input is). A file reader copies them into a
    // block it keeps until it goes, since the reads that follow overwrite its buffer; read big
    // blocks of a file straight into their place with read() instead.
    std::span<const std::uint8_t> take(std::size_t n);
    void skip(std::size_t n) {
        need(n);
        seek(position() + n);
    }
    void seek(std::size_t offset);

    // Refuses a count above its capacity, naming the list: "<what> has <count> <list>; at most
    // <capacity> are supported". Then makes sure count * elementSize bytes are left.
    void requireCount(std::uint64_t count, std::uint64_t capacity, std::string_view list,
                      std::size_t elementSize) const;
    // Makes sure n more bytes are left (throws IoError otherwise).
    void need(std::size_t n) const {
        if (n > remaining()) failShort(n);
    }

private:
    template <std::size_t N>
    friend class RecordReader;
    // The next n bytes where they lie in the window, or copied into spare when they straddle it.
    const std::uint8_t* bytesAt(std::size_t n, std::uint8_t* spare) {
        if (n <= window_.size() - pos_) {
            const std::uint8_t* at = window_.data() + pos_;
            pos_ += n;
            return at;
        }
        readSlow(spare, n);
        return spare;
    }
    void readSlow(std::uint8_t* dst, std::size_t n);
    void refill();
    [[noreturn]] void failShort(std::size_t wanted) const;

    std::span<const std::uint8_t> window_;  // the input (memory) or the buffered part (file)
    std::size_t pos_ = 0;                    // position in the window
    std::size_t base_ = 0;                   // position of the window in the input
    std::size_t size_ = 0;                   // size of the whole input
    std::string what_;
    std::FILE* file_ = nullptr;
    std::vector<std::uint8_t> buffer_;             // file mode: the window's bytes
    std::deque<std::vector<std::uint8_t>> taken_;  // file mode: the blocks take has handed out
};

template <std::size_t N>
RecordReader<N>::RecordReader(ByteReader& reader) : bytes_(reader.bytesAt(N, copy_.data())) {}

class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(std::size_t reserve) { bytes_.reserve(reserve); }

    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void i8(std::int8_t v) { u8(static_cast<std::uint8_t>(v)); }
    void u16(std::uint16_t v) { write(&v, 2); }
    void i16(std::int16_t v) { write(&v, 2); }
    void u32(std::uint32_t v) { write(&v, 4); }
    void i32(std::int32_t v) { write(&v, 4); }
    void write(const void* src, std::size_t n) {
        if (n == 0) return;
        // resize + memcpy rather than insert: GCC 12 reports a false overflow for the inlined
        // range insert in optimised builds.
        const std::size_t at = bytes_.size();
        bytes_.resize(at + n);
        std::memcpy(bytes_.data() + at, src, n);
    }
    void write(std::span<const std::uint8_t> s) { write(s.data(), s.size()); }
    void zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }

    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace cw
