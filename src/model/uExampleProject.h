// The example project shipped with the program: a small office floor with zones of
// different heights, heat and smoke sensors, a door, a window, a fire hydrant and a pier.
// The build writes it to <build>/examples/office.fsp with the program's own file writer.
#pragma once

#include <memory>

class TFireProject;

// Builds the example project. Every identity is fixed, so the file it saves is the same
// on every build. The project is marked modified, as any project not yet saved.
std::unique_ptr<TFireProject> MakeExampleProject();
