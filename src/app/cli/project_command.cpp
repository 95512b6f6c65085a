#include "cli/project_command.h"

#include <iomanip>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "cli/json.h"
#include "common/cp1250.h"
#include "common/errors.h"
#include "project/project_file.h"

namespace cw::cli {

namespace {

struct Options {
    std::string file;
    bool json = false;
    std::optional<std::string> saveTo;
};

template <std::size_t N>
std::string utf8(const PString<N>& text) {
    return cp1250ToUtf8(text.view());
}

std::string flagList(const EditorRoom& room) {
    std::string flags;
    const auto add = [&](bool on, const char* name) {
        if (!on) return;
        if (!flags.empty()) flags += ",";
        flags += name;
    };
    add(room.water != 0, "water");
    add(room.windRain != 0, "wind/rain");
    add(room.swamp != 0, "swamp");
    add(room.sky != 0, "sky");
    return flags.empty() ? "-" : flags;
}

void printSummary(std::ostream& out, const Options& options, const Project& p, int version) {
    out << "Project file:         " << options.file << " (version " << version << ")\n"
        << "Level description:    " << utf8(p.levelDescription) << "\n"
        << "Comment:              " << utf8(p.comment) << "\n"
        << "Base level:           " << utf8(p.baseLevelPath) << "\n"
        << "Items file:           " << utf8(p.itemsFilePath) << "\n"
        << "Lights/textures file: " << utf8(p.lightsFilePath) << "\n"
        << "Output level:         " << utf8(p.outputLevelPath) << "\n"
        << "Current room:         " << int(p.currentRoom) << "\n"
        << "Rooms:                " << int(p.roomCount) << "\n";
    if (p.roomCount == 0) return;
    out << "\n  #  Name                  Plan position  X x Z    Floor  Ceiling  Light room/items  Portals  Flags\n";
    for (int n = 1; n <= p.roomCount; ++n) {
        const EditorRoom& r = p.room(n);
        std::ostringstream position, size, light;
        position << "(" << r.posX << ", " << r.posY << ")";
        size << r.numX() << " x " << r.numZ();
        light << int(r.roomLight) << "/" << r.itemLight;
        // The name is padded by characters, not bytes: UTF-8 letters take more than one byte.
        const std::string name = utf8(r.name);
        const std::size_t shown = r.name.view().size();
        out << std::setw(3) << n << "  " << name << std::string(shown < 22 ? 22 - shown : 1, ' ') << std::left
            << std::setw(15) << position.str() << std::setw(9) << size.str() << std::setw(7) << int(r.floorLevel)
            << std::setw(9) << int(r.ceilingLevel) << std::setw(18) << light.str() << std::setw(9) << r.portalCount
            << flagList(r) << std::right << "\n";
    }
}

void printJson(std::ostream& out, const Project& p, int version) {
    const auto boolean = [](std::uint8_t v) { return v != 0 ? "true" : "false"; };
    out << "{\n"
        << "  \"fileVersion\": " << version << ",\n"
        << "  \"levelDescription\": " << jsonString(utf8(p.levelDescription)) << ",\n"
        << "  \"comment\": " << jsonString(utf8(p.comment)) << ",\n"
        << "  \"baseLevelPath\": " << jsonString(utf8(p.baseLevelPath)) << ",\n"
        << "  \"itemsFilePath\": " << jsonString(utf8(p.itemsFilePath)) << ",\n"
        << "  \"lightsFilePath\": " << jsonString(utf8(p.lightsFilePath)) << ",\n"
        << "  \"outputLevelPath\": " << jsonString(utf8(p.outputLevelPath)) << ",\n"
        << "  \"currentRoom\": " << int(p.currentRoom) << ",\n"
        << "  \"roomCount\": " << int(p.roomCount) << ",\n"
        << "  \"rooms\": [";
    for (int n = 1; n <= p.roomCount; ++n) {
        const EditorRoom& r = p.room(n);
        out << (n == 1 ? "\n" : ",\n") << "    {\"name\": " << jsonString(utf8(r.name)) << ", \"posX\": " << r.posX
            << ", \"posY\": " << r.posY << ", \"numX\": " << r.numX() << ", \"numZ\": " << r.numZ()
            << ", \"floorLevel\": " << int(r.floorLevel) << ", \"ceilingLevel\": " << int(r.ceilingLevel)
            << ", \"roomLight\": " << int(r.roomLight) << ", \"itemLight\": " << r.itemLight
            << ", \"water\": " << boolean(r.water) << ", \"windRain\": " << boolean(r.windRain)
            << ", \"swamp\": " << boolean(r.swamp) << ", \"sky\": " << boolean(r.sky)
            << ", \"portalCount\": " << r.portalCount << "}";
    }
    out << (p.roomCount > 0 ? "\n  ]\n}\n" : "]\n}\n");
}

// Returns the exit status of a usage error (help and version are answered by runCli).
std::optional<int> parseArguments(const std::vector<std::string>& args, Options& options, std::ostream& err) {
    const auto usage = [&](const std::string& problem) {
        err << "cairnwork-cli project: " << problem << "\nUsage: cairnwork-cli " << kProjectCommand.usage << "\n";
        return kExitUsage;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            options.json = true;
        } else if (a == "--save") {
            if (i + 1 >= args.size() || args[i + 1].empty()) return usage("--save needs an output file");
            if (options.saveTo) return usage("--save given twice");
            options.saveTo = args[++i];
        } else if (a.rfind("--save=", 0) == 0) {
            if (a.size() == 7) return usage("--save needs an output file");
            if (options.saveTo) return usage("--save given twice");
            options.saveTo = a.substr(7);
        } else if (a.size() > 1 && a[0] == '-') {
            return usage("unknown option '" + a + "'");
        } else if (!options.file.empty()) {
            return usage("more than one project file given");
        } else if (a.empty()) {
            return usage("the project file name is empty");
        } else {
            options.file = a;
        }
    }
    if (options.file.empty()) return usage("no project file given");
    return std::nullopt;
}

}  // namespace

int runProjectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    if (auto status = parseArguments(args, options, err)) return *status;

    auto project = std::make_unique<Project>();
    int version = 0;
    try {
        version = loadProject(argumentPath(options.file), *project);
        if (options.saveTo) saveProject(*project, argumentPath(*options.saveTo));
    } catch (const FormatError& e) {
        err << "cairnwork-cli project: " << e.what() << "\n";
        return kExitRefused;
    } catch (const IoError& e) {
        err << "cairnwork-cli project: " << e.what() << "\n";
        return kExitRefused;
    }
    if (options.json) {
        printJson(out, *project, version);
    } else {
        printSummary(out, options, *project, version);
        if (options.saveTo) out << "\nSaved as version " << kProjectFileVersion << ": " << *options.saveTo << "\n";
    }
    return kExitOk;
}

}  // namespace cw::cli
