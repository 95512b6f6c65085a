#pragma once
// Small projects, levels and side files for the fuzz tests and their seed corpora.
#include <cstdint>
#include <memory>
#include <vector>

#include "levelfile/level_image.h"
#include "project/project.h"

namespace cw::fuzz {

// A project of five rooms with slopes of every kind, a closed sector, portals of all six faces,
// rooms above and below, a side link, water, swamp and sky rooms.
std::unique_ptr<Project> sampleProject();

// A small level of the kind: three rooms of 4 x 4 sectors with a few faces each, 300 floor data
// words and a few elements in every list, so side files have rooms and sectors to name.
void makeSmallLevel(LevelImage& level, int kind);

// A well-formed items settings file (short or long item form) and a light/texture settings
// file for the kind, both naming the rooms of makeSmallLevel.
std::vector<std::uint8_t> sampleItemsFile(bool longForm);
std::vector<std::uint8_t> sampleMeshFile(int kind);

}  // namespace cw::fuzz
