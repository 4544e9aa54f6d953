// The command-line front end: sets the headless main form's inputs and selectors
// from the arguments, runs "Calculate" and prints the fields.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvane {

// Runs the tool with the arguments after the program name. Returns the exit code:
// 0 computed (even with a message), 2 bad usage or a malformed number.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text printed by --help.
std::string CliUsage();

}  // namespace kelvane
