#pragma once
// Starting the window: the application object, the main window, the project
// named on the command line, and the message loop.

namespace zeran {

// Runs the window until it closes; returns the exit code. The arguments that
// are not options name a project.
int run_window(int argc, char** argv);

} // namespace zeran
