#pragma once
// The example project shipped in examples/example.cwp: four rooms on the plan, built through
// the room operations and edited as the room editor would.
#include "project/project.h"

namespace cw::example {

// Fills an empty project with the example (the project must hold no room).
void buildExampleProject(Project& project);

}  // namespace cw::example
