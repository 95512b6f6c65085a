#include "cli/build_command.h"

#include <memory>
#include <ostream>

#include "builder/build_driver.h"
#include "cli/cli.h"
#include "common/cp1250.h"
#include "common/errors.h"
#include "project/project_file.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace cw::cli {

const char* const kBuildUsage = "build PROJECT.cwp [--base PATH] [--items PATH] [--meshes PATH] [--out PATH]";
const char* const kBuildSummary =
    "Build a level from a project; options not given come from the project's build settings "
    "(the project file is never written).";
const char* const kBuildOptions =
    "--base PATH    the base level the level is built on (.phd, .tub or .tr2)\n"
    "--items PATH   the items settings file\n"
    "--meshes PATH  the light/texture settings file\n"
    "--out PATH     the level to write (without it, the project's output name if it ends in .phd, .tub or .tr2)";

namespace {

// Prints the build's progress and messages; the project is never saved from here.
class ConsoleObserver : public BuildObserver {
public:
    ConsoleObserver(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    void setProgress(int value) override { out_ << "progress " << value << "%\n"; }
    void showMessage(const std::string& text) override { err_ << text << "\n"; }  // UTF-8, as the terminal

private:
    std::ostream& out_;
    std::ostream& err_;
};

int usage(std::ostream& err, const std::string& problem) {
    err << "cairnwork-cli build: " << problem << "\nUsage: cairnwork-cli " << kBuildUsage << "\n";
    return kExitUsage;
}

}  // namespace

std::filesystem::path executableFolder() {
    std::error_code ec;
#ifdef _WIN32
    std::wstring exe(32768, L'\0');  // the longest path Windows has
    const DWORD length = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (length > 0 && length < exe.size()) {
        exe.resize(length);
        return std::filesystem::path(exe).parent_path();
    }
#else
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && !exe.empty()) return exe.parent_path();
#endif
    return std::filesystem::current_path(ec);
}

bool hasLevelExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return tail == ".phd" || tail == ".tub" || tail == ".tr2";
}

int runBuildCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const std::filesystem::path& programFolder) {
    std::string projectPath;
    const std::string* base = nullptr;
    const std::string* items = nullptr;
    const std::string* meshes = nullptr;
    const std::string* output = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const std::string** option = a == "--base"     ? &base
                                     : a == "--items"  ? &items
                                     : a == "--meshes" ? &meshes
                                     : a == "--out"    ? &output
                                                       : nullptr;
        if (option != nullptr) {
            if (i + 1 >= args.size()) return usage(err, a + " needs a path");
            if (*option != nullptr) return usage(err, a + " is given twice");
            *option = &args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return usage(err, "unknown option '" + a + "'");
        } else if (projectPath.empty()) {
            projectPath = a;
        } else {
            return usage(err, "more than one project file given");
        }
    }
    if (projectPath.empty()) return usage(err, "no project file given");

    auto project = std::make_unique<Project>();
    try {
        loadProject(argumentPath(projectPath), *project);
    } catch (const IoError& e) {
        err << e.what() << "\n";
        return kExitRefused;
    } catch (const FormatError& e) {
        err << e.what() << "\n";
        return kExitRefused;
    }

    // Paths from the command line are UTF-8; the build works on the project's Windows-1250 texts.
    BuildSettings settings;
    settings.description = project->levelDescription.str();
    settings.comment = project->comment.str();
    settings.baseLevel = base ? utf8ToCp1250(*base) : project->baseLevelPath.str();
    settings.itemsFile = items ? utf8ToCp1250(*items) : project->itemsFilePath.str();
    settings.lightsFile = meshes ? utf8ToCp1250(*meshes) : project->lightsFilePath.str();
    if (output != nullptr) {
        settings.outputFile = utf8ToCp1250(*output);
    } else {
        // A project file may come from anyone: its stored output name is used only when it names
        // a level file, so that it cannot make the command overwrite any other file.
        const std::string stored = project->outputLevelPath.str();
        if (!hasLevelExtension(stored)) {
            return usage(err, "the project's output file name \"" + cp1250ToUtf8(stored) +
                                  "\" does not end in .phd, .tub or .tr2; give the output level with --out");
        }
        settings.outputFile = stored;
    }

    ConsoleObserver observer(out, err);
    BuildEnvironment environment;
    environment.programFolder = programFolder;
    environment.projectFile = argumentPath(projectPath);  // never to be replaced by the level
    if (buildLevel(*project, settings, environment, observer) != BuildOutcome::Written) return kExitRefused;
    out << "Level written: " << cp1250ToUtf8(settings.outputFile) << "\n";
    return kExitOk;
}

int runBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runBuildCommand(args, out, err, executableFolder());
}

}  // namespace cw::cli
