#include "common/binio.h"

namespace cw {

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
                  std::to_string(pos_) + " of " + std::to_string(bytes_.size()));
}

}  // namespace cw
