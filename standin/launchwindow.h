#pragma once

#include <string>
#include <vector>

// Shows which program was started with which arguments, until Close is pressed or 15 seconds
// have passed, so someone trying the demo sees what a real emulator would have been given.
// Creates the QApplication itself; returns the exit code for main().
int showLaunchWindow(int argc, char** argv, const std::string& program,
                     const std::vector<std::string>& arguments);
