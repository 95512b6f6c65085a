#include "builder/build_driver.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <string_view>
#include <system_error>

#include "builder/portals_floor_boxes.h"
#include "builder/side_files.h"
#include "common/cp1250.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/parallel.h"
#include "levelfile/level_image.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_writer.h"
#include "project/project_rules.h"

namespace cw {

namespace {

namespace fs = std::filesystem;

// A settings text (Windows-1250) as it enters a message.
std::string utf8(std::string_view text) { return cp1250ToUtf8(text); }

// One settings text and the field the project keeps it in.
struct SettingsField {
    const char* name;
    const std::string& text;
    std::size_t capacity;
    bool isPath;
};

// The output would replace this input of the build (however either path is spelt).
bool sameFile(const fs::path& output, const fs::path& input) {
    std::error_code ec;
    const bool same = fs::equivalent(output, input, ec);
    return !ec && same;
}

// The build, with the level and the working blocks it owns; every early end releases them.
class Build {
public:
    Build(Project& project, const BuildSettings& settings, const BuildEnvironment& environment, BuildObserver& observer)
        : project_(project), settings_(settings), environment_(environment), observer_(observer) {}

    BuildOutcome run() {
        return guarded([this] { return steps(); });
    }

    BuildOutcome runOnBase(LevelImage& base) {
        image_ = &base;
        return guarded([this] {
            if (trimBlanks(settings_.outputFile).empty()) return refuse("Please type the name of the level file to write.");
            if (auto faults = settingsBuildFaults(settings_, environment_.projectFile); !faults.empty()) {
                return refuse(faults);
            }
            observer_.setProgress(50);
            return stepsAfterReading(projectFaults(project_));
        });
    }

private:
    template <class Steps>
    BuildOutcome guarded(Steps steps) {
        try {
            return steps();
        } catch (const IoError& e) {
            return refuse(e.what());
        } catch (const FormatError& e) {
            return refuse(e.what());
        }
    }

    // Ends the build with a message as it stands (the two that ask for a base level).
    BuildOutcome stop(const std::string& message) {
        observer_.showMessage(message);
        observer_.setProgress(0);
        return BuildOutcome::Refused;
    }
    // Ends the build: "The level cannot be built: <reason>".
    BuildOutcome refuse(const std::string& reason) { return stop(std::string(kBuildRefused) + " " + reason); }
    // Ends the build listing every fault, one line each under kBuildRefused.
    BuildOutcome refuse(const std::vector<std::string>& faults) {
        std::string text = kBuildRefused;
        for (const std::string& f : faults) text.append("\n").append(f);
        return stop(text);
    }

    BuildOutcome steps() {
        const std::string& base = settings_.baseLevel;
        const std::string& output = settings_.outputFile;

        if (environment_.workspace != nullptr) {
            image_ = environment_.workspace;
        } else {
            ownedImage_ = std::make_unique<LevelImage>();
            image_ = ownedImage_.get();
        }
        observer_.setProgress(10);

        if (trimBlanks(base).empty()) return stop(" Please type the Base Level name ");
        if (!fileExists(pathFromBytes(base))) return stop("Base Level file " + utf8(base) + " not found");
        if (trimBlanks(output).empty()) return refuse("Please type the name of the level file to write.");
        if (auto faults = settingsBuildFaults(settings_, environment_.projectFile); !faults.empty()) {
            return refuse(faults);
        }

        // The project rules do not look at the base level: they are checked while it is read.
        std::uint8_t status = kReadOk;
        std::vector<ProjectFault> findings;
        runSideBySide(
            threads(), [&] { status = readBaseLevel(*image_, base); }, [&] { findings = projectFaults(project_); });
        if (status == kReadNoFile) return stop("Base Level file " + utf8(base) + " not found");
        if (status == kReadUnknownVersion) {
            return refuse("Base Level file " + utf8(base) +
                          " is not a level of Tomb Raider 1, 1 Gold, 2 or 3: its version word is not a known one.");
        }
        observer_.setProgress(50);
        return stepsAfterReading(findings);
    }

    BuildOutcome stepsAfterReading(const std::vector<ProjectFault>& findings) {
        const std::string& output = settings_.outputFile;

        if (auto faults = refusalTexts(findings, RuleUser::Build); !faults.empty()) return refuse(faults);

        if (auto refusal = buildRooms(); !refusal.empty()) return refuse(refusal);
        observer_.setProgress(90);
        image_->cameras.count = 0;

        applySideFiles();
        if (auto faults = floorDataIndexFaults(); !faults.empty()) return refuse(faults);

        observer_.setProgress(100);
        const std::uint8_t written =
            environment_.writeLevelFile ? environment_.writeLevelFile(*image_, output) : writeLevel(*image_, output);
        if (written != kWriteOk) {
            return refuse("Level file " + utf8(output) +
                          " was not written: the base level's version word is not a known one.");
        }
        observer_.setProgress(0);
        showWarnings(warningTexts(findings));

        project_.levelDescription = settings_.description;
        project_.comment = settings_.comment;
        project_.baseLevelPath = settings_.baseLevel;
        project_.outputLevelPath = settings_.outputFile;
        project_.itemsFilePath = settings_.itemsFile;
        project_.lightsFilePath = settings_.lightsFile;
        ownedImage_.reset();
        image_ = nullptr;
        observer_.settingsStored(project_);
        return BuildOutcome::Written;
    }

    // The threads the build may use.
    unsigned threads() const {
        if (!threadsAvailable()) return 1;
        const unsigned wanted = environment_.threads == 0 ? machineThreads() : environment_.threads;
        return std::clamp(wanted, 1u, kMaxWorkThreads);
    }

    // How one room's mesh and portals ended: a refusal, or an exception to pass on.
    struct RoomOutcome {
        std::string refusal;
        std::exception_ptr error;
        bool failed() const { return !refusal.empty() || error != nullptr; }
    };

    // The working lists of one thread's room meshes.
    struct MeshWorkspace {
        QuadList quads;
        VertexIndex index;
    };

    // The rooms, and what ties them together. First, one room after another, what the rest reads:
    // each room's header, sectors, light and flags. Then, side by side, the start item, floor
    // data, boxes and the level's long forms on this thread, and the rooms' meshes, portals and
    // long vertex forms, room by room on every thread (this one too once its part is done). A room
    // writes only its own level room, and nothing beside it writes the parts it writes; the mesh
    // and portal functions run for several rooms at once and keep no state outside their arguments.
    // What ends the build is what the rooms built one after another would end it with: the first
    // room in order that fails, and only when none does, what failed beside them.
    std::string buildRooms() {
        LevelImage& image = *image_;
        lowerRoomCount(image, project_.roomCount);  // base rooms past the project's are dropped
        image.roomCount = project_.roomCount;
        const int roomCount = project_.roomCount;
        for (int r = 1; r <= roomCount; ++r) setRoomHeader(r);

        std::vector<RoomOutcome> outcomes(static_cast<std::size_t>(roomCount));
        std::exception_ptr levelError;
        JobCounter rooms(static_cast<std::size_t>(roomCount));
        // The lowest room that failed so far: rooms past it need not be built.
        std::atomic<int> firstFailed{roomCount + 1};
        runOnThreads(threads(), [&](unsigned body) {
            if (body == 0) {
                try {
                    buildLevelParts();
                } catch (...) {
                    levelError = std::current_exception();
                }
            }
            std::unique_ptr<MeshWorkspace> workspace;
            while (const auto room = rooms.next()) {
                const int r = static_cast<int>(*room) + 1;
                if (r > firstFailed.load(std::memory_order_relaxed)) break;
                if (!workspace) workspace = std::make_unique<MeshWorkspace>();
                RoomOutcome& outcome = outcomes[*room];
                try {
                    outcome.refusal = buildRoom(r, *workspace);
                } catch (...) {
                    outcome.error = std::current_exception();
                }
                if (outcome.failed()) {
                    int seen = firstFailed.load(std::memory_order_relaxed);
                    while (r < seen && !firstFailed.compare_exchange_weak(seen, r, std::memory_order_relaxed)) {
                    }
                }
            }
        });
        for (const RoomOutcome& outcome : outcomes) {
            if (outcome.error) std::rethrow_exception(outcome.error);
            if (!outcome.refusal.empty()) return outcome.refusal;
        }
        if (levelError) std::rethrow_exception(levelError);
        return {};
    }

    // A room's header, sectors, light and flags; its mesh and portals emptied.
    void setRoomHeader(int r) {
        const EditorRoom& E = project_.room(r);
        LevelRoom& R = image_->room(r);
        const WorldOrigin origin = roomWorldOrigin(E);
        R.roomInfo.x = origin.x;
        R.roomInfo.z = origin.z;
        R.roomInfo.yBottom = levelToByte(E.floorLevel) * 256;
        R.roomInfo.yTop = levelToByte(E.ceilingLevel) * 256;
        R.spriteCount = 0;
        R.portalCount = 0;
        R.grid = E.grid;
        R.ambient = static_cast<std::uint16_t>((R.ambient & 0x00FF) | ((E.itemLight & 0xFF) << 8));
        R.ambient2 = 0;
        R.lightMode = 0;
        R.lightCount = 0;
        R.staticMeshCount = 0;
        R.alternateRoom = -1;
        R.roomFlags = static_cast<std::uint16_t>((E.water ? kRoomFlagWater : 0) | (E.windRain ? kRoomFlagWindRain : 0) |
                                                 (E.swamp ? kRoomFlagSwamp : 0) | (E.sky ? kRoomFlagSky : 0));
        R.vertexCount = 0;
        R.rectangleCount = 0;
        R.triangleCount = 0;
    }

    // A room's mesh, portals and long vertex forms; the refusal of a room that does not fit.
    // It reads the room's sectors from the project (the level room holds a copy of them, into
    // which the floor data and boxes are written meanwhile) and writes only its mesh, portals,
    // long vertex forms, second ambient and light mode.
    std::string buildRoom(int r, MeshWorkspace& workspace) {
        const EditorRoom& E = project_.room(r);
        LevelRoom& R = image_->room(r);
        workspace.quads.clear();
        buildRoomMesh(workspace.quads, E.grid, E.sectors, doubleSidedCeiling(E, image_->gameKind),
                      standardShapeTable());
        if (workspace.quads.dropped != 0) return quadLimitMessage(r, E.name.view());
        const MeshResult mesh = assembleFaces(workspace.quads, R, workspace.index, environment_.vertexSearch);
        if (mesh != MeshResult::Ok) return meshLimitMessage(r, E.name.view(), mesh);
        convertPortals(E, R, r);
        finishRoomForms(R, image_->gameKind);
        return {};
    }

    // What needs the rooms' headers and sectors but not their meshes: the start item, the floor
    // data, the boxes, and the long forms of the items and boxes.
    void buildLevelParts() {
        placeStartItem();
        buildFloorData(*image_, project_, findDataFile(environment_.programFolder, "floor.dat"));
        buildBoxes(*image_);
        finishLevelForms(*image_);
    }

    // The player starts in the current room, 1.5 sectors in from its origin on both axes, on the
    // floor of the sector she stands in (sector (2, 2)).
    void placeStartItem() {
        LevelImage& image = *image_;
        const int current = project_.currentRoom;
        const LevelRoom& room = image.room(current);
        image.itemCount = 1;
        ItemShort& item = image.itemsShort[0];
        item.type = 0;
        item.room = static_cast<std::int16_t>(current - 1);
        item.x = room.roomInfo.x + 1536;
        item.y = gameSectorAt(room.grid, 2, 2).floor * 256;
        item.z = room.roomInfo.z + 1536;
        item.angle = static_cast<std::int16_t>(item.angle & 0x00FF);
        item.intensity = -1;
    }

    void applySideFiles() {
        const std::string& items = settings_.itemsFile;
        if (!trimBlanks(items).empty()) {
            if (fileExists(pathFromBytes(items))) {
                if (readItemsFile(*image_, pathFromBytes(items)) == kItemsBadMagic) {
                    observer_.showMessage("Items file " + utf8(items) +
                                          " is not an items settings file (it does not start with the byte 7 and "
                                          "\"VELLORN\"); it was not used.");
                }
            } else {
                observer_.showMessage("Items file " + utf8(items) + " not found");
            }
        }
        const std::string& meshes = settings_.lightsFile;
        if (!trimBlanks(meshes).empty()) {
            if (fileExists(pathFromBytes(meshes))) {
                const std::uint8_t status = readRoomMeshFile(*image_, pathFromBytes(meshes));
                if (status == kMeshesBadMagic) {
                    observer_.showMessage("Meshes file " + utf8(meshes) +
                                          " is not a light/texture settings file (it does not start with the byte 16 "
                                          "and \"Vellorn MSH file\"); it was not used.");
                } else if (status == kMeshesWrongGame) {
                    observer_.showMessage("Meshes file " + utf8(meshes) +
                                          " was made for another game than the base level; it was not used.");
                }
            } else {
                observer_.showMessage("Meshes file " + utf8(meshes) + " not found");
            }
        }
    }

    // The warnings of the project rules (side links into closed sectors), in one message, once the
    // level is written.
    void showWarnings(const std::vector<std::string>& warnings) {
        if (warnings.empty()) return;
        std::string text = "The level was written, but:";
        for (const std::string& w : warnings) text.append("\n").append(w);
        observer_.showWarning(text);
    }

    // Every sector's floor data index must name a word of the floor data.
    std::vector<std::string> floorDataIndexFaults() const {
        const LevelImage& image = *image_;
        std::vector<std::string> faults;
        for (int r = 1; r <= image.roomCount; ++r) {
            const SectorGrid& grid = image.room(r).grid;
            for (int x = 1; x <= grid.numX; ++x) {
                for (int z = 1; z <= grid.numZ; ++z) {
                    const std::uint16_t index = gameSectorAt(grid, x, z).floorDataIndex;
                    if (index != 0 && index >= image.floorData.count) {
                        faults.push_back(floorDataIndexFault(project_, r, x, z, index, image.floorData.count));
                    }
                }
            }
        }
        return faults;
    }

    Project& project_;
    const BuildSettings& settings_;
    const BuildEnvironment& environment_;
    BuildObserver& observer_;
    // The level of a build that reads its base itself and was given no workspace.
    std::unique_ptr<LevelImage> ownedImage_;
    LevelImage* image_ = nullptr;
};

}  // namespace

std::string trimBlanks(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string> settingsBuildFaults(const BuildSettings& settings, const fs::path& projectFile) {
    std::vector<std::string> faults;
    const SettingsField fields[] = {
        {"level description", settings.description, decltype(Project::levelDescription)::capacity, false},
        {"comment", settings.comment, decltype(Project::comment)::capacity, false},
        {"base level path", settings.baseLevel, decltype(Project::baseLevelPath)::capacity, true},
        {"output file name", settings.outputFile, decltype(Project::outputLevelPath)::capacity, true},
        {"items file path", settings.itemsFile, decltype(Project::itemsFilePath)::capacity, true},
        {"light/texture file path", settings.lightsFile, decltype(Project::lightsFilePath)::capacity, true},
    };
    for (const SettingsField& f : fields) {
        if (f.text.size() <= f.capacity) continue;
        // Windows-1250 gives every character one byte, so the byte count is the character count.
        std::string fault = std::string("The ") + f.name;
        if (f.isPath) fault += " \"" + utf8(f.text) + "\"";
        fault += " is " + std::to_string(f.text.size()) + " characters long; the project keeps at most " +
                 std::to_string(f.capacity) + (f.isPath ? ". Use a shorter path." : ". Shorten it.");
        faults.push_back(fault);
    }

    const fs::path output = pathFromBytes(settings.outputFile);
    const auto checkInput = [&](const char* name, const fs::path& input, const std::string& shown) {
        if (sameFile(output, input)) {
            faults.push_back("The output file \"" + utf8(settings.outputFile) + "\" is the " + name + " \"" + shown +
                             "\"; the build would replace it. Choose another output file.");
        }
    };
    if (!projectFile.empty()) checkInput("project file", projectFile, pathText(projectFile));
    checkInput("base level", pathFromBytes(settings.baseLevel), utf8(settings.baseLevel));
    if (!trimBlanks(settings.itemsFile).empty())
        checkInput("items file", pathFromBytes(settings.itemsFile), utf8(settings.itemsFile));
    if (!trimBlanks(settings.lightsFile).empty())
        checkInput("light/texture file", pathFromBytes(settings.lightsFile), utf8(settings.lightsFile));
    return faults;
}

BuildOutcome buildLevel(Project& project, const BuildSettings& settings, const BuildEnvironment& environment,
                        BuildObserver& observer) {
    Build build(project, settings, environment, observer);
    return build.run();
}

BuildOutcome buildLevelOnBase(Project& project, LevelImage& image, const BuildSettings& settings,
                              const BuildEnvironment& environment, BuildObserver& observer) {
    Build build(project, settings, environment, observer);
    return build.runOnBase(image);
}

}  // namespace cw
