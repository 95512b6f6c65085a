#include "fuzz_entries.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "builder/build_driver.h"
#include "builder/side_files.h"
#include "common/errors.h"
#include "fuzz_levels.h"
#include "levelfile/level_image.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_writer.h"
#include "project/project_file.h"
#include "raster/bmp.h"

namespace cw::fuzz {

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "fuzz: broken promise: %s\n", what);
    std::abort();
}

void require(bool ok, const char* what) {
    if (!ok) broken(what);
}

std::span<const std::uint8_t> bytesOf(const std::uint8_t* data, std::size_t size) {
    return {data, size};
}

// Two images, allocated once: every input is read into the first; round trips use the second.
LevelImage& image(int which) {
    static std::unique_ptr<LevelImage> images[2] = {std::make_unique<LevelImage>(), std::make_unique<LevelImage>()};
    return *images[which];
}

// Writes the level and reads it back; the bytes of a second write must equal the first.
void writeAndReadBack(LevelImage& level, int kind, const char* what) {
    const std::vector<std::uint8_t> written = serializeLevel(level, kind);
    LevelImage& again = image(1);
    const char* name = kind == kKindTR1Gold ? "back.tub" : "back.phd";
    try {
        require(parseLevel(written, again, name, "Written level") == kReadOk, what);
    } catch (const IoError&) {
        broken(what);
    } catch (const FormatError&) {
        broken(what);
    }
    require(serializeLevel(again, kind) == written, what);
}

class QuietObserver : public BuildObserver {
public:
    void setProgress(int) override {}
    void showMessage(const std::string&) override {}
};

}  // namespace

int projectFile(const std::uint8_t* data, std::size_t size) {
    static std::unique_ptr<Project> project = std::make_unique<Project>();
    static std::unique_ptr<Project> again = std::make_unique<Project>();
    try {
        parseProject(bytesOf(data, size), *project, "Project file");
    } catch (const IoError&) {
        return 0;
    } catch (const FormatError&) {
        return 0;
    }
    const std::vector<std::uint8_t> saved = serializeProject(*project);
    try {
        parseProject(saved, *again, "Saved project");
    } catch (const std::exception&) {
        broken("a saved project does not load");
    }
    require(serializeProject(*again) == saved, "a saved project does not save the same again");
    return 1;
}

int baseLevel(const std::uint8_t* data, std::size_t size) {
    LevelImage& level = image(0);
    // The name decides Tomb Raider 1 or Gold for version 32; odd sizes read as Gold.
    const char* name = size % 2 == 0 ? "base.phd" : "base.tub";
    try {
        if (parseLevel(bytesOf(data, size), level, name, "Base level") != kReadOk) return 0;
    } catch (const IoError&) {
        return 0;
    } catch (const FormatError&) {
        return 0;
    }
    const int kind = level.gameKind;
    try {
        writeAndReadBack(level, kind, "a read level does not write and read back the same");
    } catch (const FormatError&) {
        // The writer refuses an image it cannot write (a block shorter than its count says);
        // nothing was written. Not reachable from a level the reader accepted.
        broken("the writer refuses a level the reader accepted");
    }

    // Build a small project on it; a level the build writes must read back.
    // The build changes nothing of the project but its six settings texts.
    static std::unique_ptr<Project> project = sampleProject();
    BuildSettings settings;
    settings.baseLevel = name;
    settings.outputFile = kind == kKindTR1Gold ? "built.tub" : "built.phd";
    BuildEnvironment environment;
    environment.programFolder = CW_FUZZ_DATA_DIR;
    bool written = false;
    environment.writeLevelFile = [&](LevelImage& built, const std::string&) -> std::uint8_t {
        writeAndReadBack(built, kind, "a built level does not read back the same");
        written = true;
        return kWriteOk;
    };
    QuietObserver observer;
    const BuildOutcome outcome = buildLevelOnBase(*project, level, settings, environment, observer);
    require((outcome == BuildOutcome::Written) == written, "the build reports an outcome it did not have");
    return written ? 2 : 1;
}

int itemsFile(const std::uint8_t* data, std::size_t size) {
    int accepted = 0;
    for (int kind : {kKindTR1, kKindTR3}) {
        LevelImage& level = image(0);
        makeSmallLevel(level, kind);
        std::uint8_t status = 0;
        try {
            status = readItemsBytes(level, bytesOf(data, size));
        } catch (const IoError&) {
            continue;
        } catch (const FormatError&) {
            continue;
        }
        if (status != 0) continue;
        writeAndReadBack(level, kind, "a level with an items file does not read back the same");
        accepted = 1;
    }
    return accepted;
}

int meshFile(const std::uint8_t* data, std::size_t size) {
    int accepted = 0;
    for (int kind : {kKindTR1, kKindTR1Gold, kKindTR2, kKindTR3}) {
        LevelImage& level = image(0);
        makeSmallLevel(level, kind);
        std::uint8_t status = 0;
        try {
            status = readRoomMeshBytes(level, bytesOf(data, size));
        } catch (const IoError&) {
            continue;
        } catch (const FormatError&) {
            continue;
        }
        if (status != 0) continue;
        writeAndReadBack(level, kind, "a level with room meshes does not read back the same");
        accepted = 1;
    }
    return accepted;
}

int bmpFile(const std::uint8_t* data, std::size_t size) {
    IndexedImage picture;
    PaletteBlock palette{};
    try {
        LoadBmpBytes(bytesOf(data, size), picture, "Picture");
        LoadPaletteBytes(bytesOf(data, size), palette, "Picture");
    } catch (const IoError&) {
        return 0;
    } catch (const FormatError&) {
        return 0;
    }
    require(IsValidImage(picture) && picture.Palette != nullptr, "an accepted picture is not valid");
    require(*picture.Palette == palette, "the picture's palette differs from its colour table");
    IndexedImage again;
    LoadBmpBytes(EncodeBmp(picture), again, "Written picture");
    require(again.Width == picture.Width && again.Height == picture.Height && again.Pixels == picture.Pixels &&
                *again.Palette == *picture.Palette,
            "a written picture does not read back the same");
    return 1;
}

Entry entryNamed(const char* name) {
    struct Named {
        const char* name;
        Entry entry;
    };
    static const Named entries[] = {{"project_file", projectFile},
                                    {"base_level", baseLevel},
                                    {"items_file", itemsFile},
                                    {"mesh_file", meshFile},
                                    {"bmp_file", bmpFile}};
    for (const Named& n : entries)
        if (std::strcmp(n.name, name) == 0) return n.entry;
    return nullptr;
}

}  // namespace cw::fuzz
