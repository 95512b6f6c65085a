// One libFuzzer target; CW_FUZZ_TARGET names the entry (see fuzz_entries.h).
#include <cstddef>
#include <cstdint>

#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const cw::fuzz::Entry entry = cw::fuzz::entryNamed(CW_FUZZ_TARGET);
    entry(data, size);
    return 0;
}
