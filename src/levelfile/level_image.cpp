#include "levelfile/level_image.h"

#include <memory>

namespace cw {

int gameKind(std::uint32_t version, std::string_view path) {
    switch (version) {
        case kVersionTR1:
            return (path.find(".TUB") != std::string_view::npos || path.find(".tub") != std::string_view::npos)
                       ? kKindTR1Gold
                       : kKindTR1;
        case kVersionTR2:
            return kKindTR2;
        case kVersionTR3a:
        case kVersionTR3b:
            return kKindTR3;
        default:
            return kKindNone;
    }
}

void resetLevelImage(LevelImage& image) {
    // Value-initialising in place zero-fills the whole record without a temporary of its size.
    std::destroy_at(&image);
    std::construct_at(&image);
}

}  // namespace cw
