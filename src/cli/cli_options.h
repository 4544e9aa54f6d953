// Option handling shared by the point and the table commands of kelvane-cli: the fluid,
// the four display units, the specific-volume switch and the wavelength, applied to
// the headless main form in the order a user would choose them in the window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "forms/units.h"

namespace kelvane::cli {

// A malformed command line (exit code 2, with the usage summary).
struct UsageError {
    std::string what;
};

struct FormOptions {
    int fluid = 0;
    int unitT = 0, unitP = 0, unitRho = 0, unitAmount = 0;
    int unitVisc = 0, unitTherc = 0;
    bool volume = false;
    std::optional<std::string> wavelength;
};

// Consumes args[i] (and its value, advancing i) when it is one of --fluid, --T-unit,
// --P-unit, --rho-unit, --amount, --visc-unit, --therc-unit, --wavelength or --volume; false for any other option.
// Throws UsageError for an unknown fluid or unit or a missing value.
bool ParseFormOption(const std::vector<std::string>& args, size_t& i, FormOptions& o);

// The value after args[i]; throws UsageError when there is none.
const std::string& OptionValue(const std::vector<std::string>& args, size_t& i);

// Selects the fluid, the units and the density/volume mode on `form` through the
// window's own actions, and sets the wavelength field.
void ApplyFormOptions(MainForm& form, const FormOptions& o);

// The command-line names of the units of selector s for a usage text, separated by
// "|", a name with a blank in quotes: K|degC|Tr|degF, "Pa s"|"uPa s"|cP.
std::string UnitChoices(UnitSelector s);
// The command-line names of the specific-volume units, separated by ", ".
std::string VolumeUnitNames();

// A message for the terminal: control characters are shown as \xNN and a text longer
// than 200 characters is cut, so that a hostile input cannot garble the terminal.
std::string Printable(const std::string& text);

}  // namespace kelvane::cli
