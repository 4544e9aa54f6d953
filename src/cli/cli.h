// The command-line front end: sets the headless main form's inputs and selectors
// from the arguments, runs "Calculate" and prints the fields, or makes a table.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvane {

// Runs the tool with the arguments after the program name. Returns the exit code:
// 0 computed (even with a message), 2 bad usage or a malformed number. A first
// argument "table" runs RunTableCli with the remaining arguments, "verify" RunVerifyCli.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text printed by --help.
std::string CliUsage();

// The line printed by --version: "kelvane-cli" and the project's version.
std::string CliVersion();

// "kelvane-cli table": the "Make Tables" window without a window. Sets the headless
// main and table forms from the arguments, runs "Make Tables" and writes the same file.
// Returns 0 when the table was made (the window's success message on standard output,
// or on standard error when the table itself goes to standard output with --out -),
// 1 with the window's message on standard error when it refuses the table or cannot
// write it, 2 for bad usage or a malformed number (conversion error).
int RunTableCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text printed by "table --help".
std::string TableUsage();

// "kelvane-cli saturation": a saturation table by temperature or by pressure on
// standard output or in a file. Returns 0 when made, 1 with a message (a refused
// series, a file that could not be written), 2 for bad usage or a value that is not a
// number.
int RunSaturationCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
std::string SaturationUsage();

// "kelvane-cli verify": every published check value and the consistency identities,
// computed through the point calculation (one line per check and a summary per
// formulation; --tsv or --markdown for the other forms, --fluid for one fluid).
// Returns 0 when every check passes, 1 when one fails, 2 for bad usage.
int RunVerifyCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text printed by "verify --help".
std::string VerifyUsage();

}  // namespace kelvane
