// Writes the example project: cw_make_example OUT.cwp
// The committed examples/example.cwp is this program's output; a test checks that they agree.
#include <exception>
#include <iostream>
#include <memory>

#include "example_project.h"
#include "project/project_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: cw_make_example OUT.cwp\n";
        return 2;
    }
    try {
        auto project = std::make_unique<cw::Project>();
        cw::example::buildExampleProject(*project);
        cw::saveProject(*project, argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "cw_make_example: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
