#pragma once
// Building a playable level from the project ("&Buduj Level").
//
// buildLevel reads the base level, replaces its rooms by the project's rooms (header, sectors,
// flags, mesh, portals), places the player's start item in the current room, makes the floor
// data, boxes and long record forms, applies the two optional side files and writes the level.
// It reports progress (10 after allocating the level, 50 after reading the base level, 90 after
// the rooms, 100 while writing, 0 at the end) and every message through the observer.
//
// Before anything is built the settings and the project are checked: the output must not be one
// of the build's own inputs (the project file, the base level, the two side files, however the
// path is spelt), every settings text must fit its field in the project, and the project must
// have no fault of the project rules (project_rules.h: rooms, sizes, shapes, portals, room links);
// every fault is listed, a line each under kBuildRefused, and the build refused. The warnings of
// the project rules are shown once the level is written. A refused or failed build writes no file (the level is written to a temporary
// name and renamed) and leaves the project as it was. Only a build that wrote its level stores
// the six settings texts in the project and then tells the observer, whose owner decides
// whether to save the project.
//
// Every message that ends a build starts with kBuildRefused, except the two that ask for a base
// level: " Please type the Base Level name " and "Base Level file <path> not found".
//
// The settings are Windows-1250 bytes, as the project keeps them; messages are UTF-8 (project
// texts are converted where they enter a message).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "builder/room_mesh.h"
#include "project/project.h"

namespace cw {

// The six texts of the build settings dialog, as typed.
struct BuildSettings {
    std::string description;  // "Opis levelu"
    std::string comment;      // "Komentarz"
    std::string baseLevel;    // "Level bazowy"
    std::string outputFile;   // "Nazwa pliku"
    std::string itemsFile;    // "Ust. przedmiotów"
    std::string lightsFile;   // "Ust. świateł/textur"
};

class BuildObserver {
public:
    virtual ~BuildObserver() = default;
    virtual void setProgress(int value) = 0;
    // One message for the user (a refusal, a missing side file, an input/output error), UTF-8.
    virtual void showMessage(const std::string& text) = 0;
    // A warning about a level that was written all the same (shown as a message unless told apart).
    virtual void showWarning(const std::string& text) { showMessage(text); }
    // The level was written and the settings texts are stored in the project. The window saves
    // the project here when it has a file name; a command-line build does not.
    virtual void settingsStored(Project& project) { (void)project; }
};

enum class BuildOutcome { Written, Refused };

struct LevelImage;

// The first words of every message that refuses a build.
inline constexpr const char* kBuildRefused = "The level cannot be built:";

struct BuildEnvironment {
    std::filesystem::path programFolder;  // where "floor.dat" is found (findDataFile)
    // The project's own file, which the output must not replace; empty for an untitled project.
    std::filesystem::path projectFile;
    VertexSearch vertexSearch = VertexSearch::Indexed;
    // Writes the finished level (status as writeLevel); empty: writeLevel to the output file.
    std::function<std::uint8_t(LevelImage& image, const std::string& path)> writeLevelFile;
    // A level image the build reads its base level into and builds in, kept by the caller from
    // one build to the next so that a build does not allocate and zero a new one; null: the build
    // allocates its own. What it holds between builds is of no meaning (the read resets it).
    LevelImage* workspace = nullptr;
    // The threads the build may use: 0 for as many as the machine has cores (at most 8), 1 to
    // build on the calling thread alone. The level written is the same whatever the number.
    unsigned threads = 0;
};

BuildOutcome buildLevel(Project& project, const BuildSettings& settings, const BuildEnvironment& environment,
                        BuildObserver& observer);

// The build from the point where the base level is read: `image` holds the base level and is
// turned into the built level, which is then written. Progress starts at 50. For callers that
// hold a base level in memory already (the fuzz tests); buildLevel reads it from the file.
BuildOutcome buildLevelOnBase(Project& project, LevelImage& image, const BuildSettings& settings,
                              const BuildEnvironment& environment, BuildObserver& observer);

// The faults of the settings that a build refuses, one line each: a text longer than its field
// in the project (so that the project would keep a cut path), an output that is the same file as
// the project file, the base level, the items file or the light/texture file.
std::vector<std::string> settingsBuildFaults(const BuildSettings& settings, const std::filesystem::path& projectFile);

// The base level path with leading and trailing blanks removed.
std::string trimBlanks(const std::string& text);

}  // namespace cw
