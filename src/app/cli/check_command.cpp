#include "cli/check_command.h"

#include <memory>
#include <ostream>
#include <sstream>

#include "builder/build_driver.h"
#include "cli/build_command.h"
#include "cli/cli.h"
#include "cli/json.h"
#include "common/errors.h"
#include "levelfile/level_image.h"
#include "levelfile/level_writer.h"
#include "project/project_file.h"
#include "project/project_rules.h"

namespace cw::cli {

const char* const kCheckUsage = "check PROJECT.cwp [--json]";
const char* const kCheckSummary =
    "List every fault for which the build would refuse the project and every warning of a level built all "
    "the same; no base level or side file is read (exit 1 when there are faults).";
const char* const kCheckOptions =
    "--json  print {\"buildable\": ..., \"faults\": [...], \"warnings\": [...]} instead of the lines";

namespace {

int usage(std::ostream& err, const std::string& problem) {
    err << "cairnwork-cli check: " << problem << "\nUsage: cairnwork-cli " << kCheckUsage << "\n";
    return kExitUsage;
}

// Keeps the build's messages; its warnings are those of the project rules, listed already.
class Collector : public BuildObserver {
public:
    void setProgress(int) override {}
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showWarning(const std::string&) override {}
    std::vector<std::string> messages;
};

// The faults the build finds only while it builds (rooms past a level's capacities, floor data,
// boxes): the build runs in memory on an empty level of the long forms and writes nothing.
std::vector<std::string> faultsWhileBuilding(Project& project, const std::filesystem::path& programFolder) {
    auto image = std::make_unique<LevelImage>();
    image->version = kVersionTR2;
    image->gameKind = kKindTR2;
    BuildSettings settings;
    settings.outputFile = "check.tr2";
    BuildEnvironment environment;
    environment.programFolder = programFolder;
    environment.writeLevelFile = [](LevelImage&, const std::string&) { return kWriteOk; };
    Collector collector;
    if (buildLevelOnBase(project, *image, settings, environment, collector) == BuildOutcome::Written) return {};
    if (collector.messages.empty()) return {"The build was refused."};
    // The refusal is the build's last message: kBuildRefused and one fault, or kBuildRefused on a
    // line of its own and a fault a line.
    const std::string heading = kBuildRefused;
    std::vector<std::string> faults;
    std::istringstream lines(collector.messages.back());
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(heading, 0) == 0) line.erase(0, line.find_first_not_of(' ', heading.size()));
        if (!line.empty()) faults.push_back(line);
    }
    return faults;
}

void printJson(std::ostream& out, const std::vector<std::string>& faults, const std::vector<std::string>& warnings) {
    const auto list = [&out](const std::vector<std::string>& texts) {
        out << "[";
        for (std::size_t i = 0; i < texts.size(); ++i)
            out << (i == 0 ? "\n    " : ",\n    ") << jsonString(texts[i]);
        out << (texts.empty() ? "]" : "\n  ]");
    };
    out << "{\n  \"buildable\": " << (faults.empty() ? "true" : "false") << ",\n  \"faults\": ";
    list(faults);
    out << ",\n  \"warnings\": ";
    list(warnings);
    out << "\n}\n";
}

void printText(std::ostream& out, const std::vector<std::string>& faults, const std::vector<std::string>& warnings) {
    // The build's texts are UTF-8, as the terminal.
    for (const std::string& f : faults) out << "fault: " << f << "\n";
    for (const std::string& w : warnings) out << "warning: " << w << "\n";
    const auto count = [](std::size_t n, const char* what) {
        return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
    };
    out << count(faults.size(), "fault") << ", " << count(warnings.size(), "warning") << ": "
        << (faults.empty() ? "the level can be built." : "the build would refuse the project.") << "\n";
}

}  // namespace

int runCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const std::filesystem::path& programFolder) {
    std::string projectPath;
    bool json = false;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return usage(err, "unknown option '" + a + "'");
        } else if (!projectPath.empty()) {
            return usage(err, "more than one project file given");
        } else if (a.empty()) {
            return usage(err, "the project file name is empty");
        } else {
            projectPath = a;
        }
    }
    if (projectPath.empty()) return usage(err, "no project file given");

    auto project = std::make_unique<Project>();
    try {
        loadProject(argumentPath(projectPath), *project);
    } catch (const IoError& e) {
        err << "cairnwork-cli check: " << e.what() << "\n";
        return kExitRefused;
    } catch (const FormatError& e) {
        err << "cairnwork-cli check: " << e.what() << "\n";
        return kExitRefused;
    }

    // The faults of the project rules that the build refuses, and their warnings; when there is no
    // such fault, what the build itself finds.
    const std::vector<ProjectFault> findings = projectFaults(*project);
    std::vector<std::string> faults = refusalTexts(findings, RuleUser::Build);
    const std::vector<std::string> warnings = warningTexts(findings);
    if (faults.empty()) faults = faultsWhileBuilding(*project, programFolder);

    if (json) {
        printJson(out, faults, warnings);
    } else {
        printText(out, faults, warnings);
    }
    return faults.empty() ? kExitOk : kExitRefused;
}

int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runCheckCommand(args, out, err, executableFolder());
}

}  // namespace cw::cli
