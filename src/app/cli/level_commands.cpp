#include "cli/level_commands.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "common/cp1250.h"
#include "common/errors.h"
#include "levelfile/level_image.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_writer.h"

namespace cw::cli {

namespace {

const char* kindName(int kind) {
    switch (kind) {
        case kKindTR1:
            return "Tomb Raider 1";
        case kKindTR1Gold:
            return "Tomb Raider 1 Gold";
        case kKindTR2:
            return "Tomb Raider 2";
        case kKindTR3:
            return "Tomb Raider 3";
        default:
            return "unknown";
    }
}

std::string hex32(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::string hex16(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
    return text;
}

// The core takes file names as Windows-1250 bytes; a command-line argument is UTF-8. Returns
// nothing when the name holds characters Windows-1250 cannot.
std::optional<std::string> coreFileName(const std::string& argument) {
    if (!fitsCp1250(argument)) return std::nullopt;
    return utf8ToCp1250(argument);
}

// Reads a level for a command: true when read, false after a message on err.
bool readLevelFor(LevelImage& image, const std::string& argument, std::ostream& err) {
    const std::optional<std::string> path = coreFileName(argument);
    if (!path) {
        err << "cairnwork-cli: \"" << argument << "\": the file name holds characters outside Windows-1250\n";
        return false;
    }
    try {
        switch (readBaseLevel(image, *path)) {
            case kReadOk:
                return true;
            case kReadNoFile:
                err << "cairnwork-cli: Level file \"" << argument << "\" not found\n";
                return false;
            default:
                err << "cairnwork-cli: \"" << argument
                    << "\" is not a level of Tomb Raider 1, 1 Gold, 2 or 3 (unknown version word)\n";
                return false;
        }
    } catch (const IoError& e) {  // names the file itself
        err << "cairnwork-cli: " << e.what() << "\n";
        return false;
    } catch (const FormatError& e) {
        err << "cairnwork-cli: " << e.what() << "\n";
        return false;
    } catch (const std::exception& e) {  // out of memory
        err << "cairnwork-cli: \"" << argument << "\": " << e.what() << "\n";
        return false;
    }
}

void printText(const LevelImage& image, std::ostream& out) {
    out << "version: " << image.version << " (" << hex32(image.version) << ")\n"
        << "gameKind: " << image.gameKind << " (" << kindName(image.gameKind) << ")\n"
        << "textileCount: " << image.textileCount << "\n"
        << "roomCount: " << image.roomCount << "\n";
    for (int number = 1; number <= image.roomCount; ++number) {
        const LevelRoom& r = image.room(number);
        out << "room " << number << ": x " << r.roomInfo.x << ", z " << r.roomInfo.z << ", yBottom "
            << r.roomInfo.yBottom << ", yTop " << r.roomInfo.yTop << ", vertices " << r.vertexCount
            << ", rectangles " << r.rectangleCount << ", triangles " << r.triangleCount << ", sprites "
            << r.spriteCount << ", portals " << r.portalCount << ", sectors " << r.grid.numZ << " x "
            << r.grid.numX << ", lights " << r.lightCount << ", static meshes " << r.staticMeshCount
            << ", flags " << hex16(r.roomFlags) << "\n";
    }
    out << "floorDataCount: " << image.floorData.count << "\n"
        << "meshDataCount: " << image.meshData.count << "\n"
        << "meshPointerCount: " << image.meshPointers.count << "\n"
        << "animationCount: " << image.animations.count << "\n"
        << "stateChangeCount: " << image.stateChanges.count << "\n"
        << "animDispatchCount: " << image.animDispatches.count << "\n"
        << "animCommandCount: " << image.animCommands.count << "\n"
        << "meshTreeCount: " << image.meshTree.count << "\n"
        << "frameCount: " << image.frames.count << "\n"
        << "moveableCount: " << image.moveables.count << "\n"
        << "staticMeshCount: " << image.staticMeshes.count << "\n"
        << "objectTextureCount: " << image.objectTextures.count << "\n"
        << "spriteTextureCount: " << image.spriteTextures.count << "\n"
        << "spriteSequenceCount: " << image.spriteSequences.count << "\n"
        << "cameraCount: " << image.cameras.count << "\n"
        << "soundSourceCount: " << image.soundSources.count << "\n"
        << "boxCount: " << image.boxCount << "\n"
        << "overlapCount: " << image.overlaps.count << "\n"
        << "zoneCount: " << image.zoneCount << "\n"
        << "animatedTextureCount: " << image.animatedTextures.count << "\n"
        << "itemCount: " << image.itemCount << "\n"
        << "cinematicFrameCount: " << image.cinematicFrames.count << "\n"
        << "demoDataCount: " << image.demoData.count << "\n"
        << "soundDetailCount: " << image.soundDetails.count << "\n"
        << "soundSampleBytes: " << image.sampleBytes << "\n"
        << "sampleIndexCount: " << image.sampleIndices.count << "\n";
}

// One JSON object; every value is a number, so nothing needs escaping.
void printJson(const LevelImage& image, std::ostream& out) {
    out << "{\"version\":" << image.version << ",\"gameKind\":" << image.gameKind
        << ",\"textileCount\":" << image.textileCount << ",\"roomCount\":" << image.roomCount << ",\"rooms\":[";
    for (int number = 1; number <= image.roomCount; ++number) {
        const LevelRoom& r = image.room(number);
        out << (number > 1 ? "," : "") << "{\"x\":" << r.roomInfo.x << ",\"z\":" << r.roomInfo.z
            << ",\"yBottom\":" << r.roomInfo.yBottom << ",\"yTop\":" << r.roomInfo.yTop
            << ",\"vertexCount\":" << r.vertexCount << ",\"rectangleCount\":" << r.rectangleCount
            << ",\"triangleCount\":" << r.triangleCount << ",\"spriteCount\":" << r.spriteCount
            << ",\"portalCount\":" << r.portalCount << ",\"numZSectors\":" << r.grid.numZ
            << ",\"numXSectors\":" << r.grid.numX << ",\"lightCount\":" << r.lightCount
            << ",\"staticMeshCount\":" << r.staticMeshCount << ",\"roomFlags\":" << r.roomFlags << "}";
    }
    out << "],\"floorDataCount\":" << image.floorData.count << ",\"meshDataCount\":" << image.meshData.count
        << ",\"objectTextureCount\":" << image.objectTextures.count << ",\"boxCount\":" << image.boxCount
        << ",\"overlapCount\":" << image.overlaps.count << ",\"itemCount\":" << image.itemCount
        << ",\"cameraCount\":" << image.cameras.count << ",\"soundSampleBytes\":" << image.sampleBytes << "}\n";
}

void usage(std::ostream& err, const char* text) { err << "Usage: cairnwork-cli " << text << "\n"; }

}  // namespace

int runInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (!arg.empty() && arg[0] == '-') {
            err << "cairnwork-cli info: unknown option '" << arg << "'\n";
            usage(err, kInfoCommand.usage);
            return kExitUsage;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 1) {
        usage(err, kInfoCommand.usage);
        return kExitUsage;
    }
    auto image = std::make_unique<LevelImage>();
    if (!readLevelFor(*image, files.front(), err)) return kExitRefused;
    if (json) {
        printJson(*image, out);
    } else {
        printText(*image, out);
    }
    return kExitOk;
}

int runConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    for (const std::string& arg : args) {
        if (!arg.empty() && arg[0] == '-') {
            err << "cairnwork-cli convert: unknown option '" << arg << "'\n";
            usage(err, kConvertCommand.usage);
            return kExitUsage;
        }
    }
    if (args.size() != 2) {
        usage(err, kConvertCommand.usage);
        return kExitUsage;
    }
    const std::string& output = args[1];
    const std::optional<std::string> outputPath = coreFileName(output);
    if (!outputPath) {
        err << "cairnwork-cli: \"" << output << "\": the file name holds characters outside Windows-1250\n";
        return kExitRefused;
    }
    auto image = std::make_unique<LevelImage>();
    if (!readLevelFor(*image, args[0], err)) return kExitRefused;
    try {
        // The version word was read from a level, so it is a known one.
        if (writeLevel(*image, *outputPath) != kWriteOk) {
            err << "cairnwork-cli: \"" << output << "\": unknown version word, nothing written\n";
            return kExitRefused;
        }
    } catch (const std::exception& e) {
        err << "cairnwork-cli: \"" << output << "\": " << e.what() << "\n";
        return kExitRefused;
    }
    out << "Wrote \"" << output << "\" (" << kindName(gameKind(image->version, *outputPath)) << ")\n";
    return kExitOk;
}

}  // namespace cw::cli
