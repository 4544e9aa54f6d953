// Installs the three fluid models into the calculator's fluid table.
#pragma once

namespace kelvane {

// Registers water (0), methanol (1) and carbon dioxide (2); safe to call repeatedly.
void RegisterAllFluids();

}  // namespace kelvane
