// Texts of the About window: version and the literature behind each formulation.
#pragma once

#include <string>
#include <vector>

namespace kelvane::ui {

inline constexpr const char* kAboutCaption = "Kelvane references";
inline constexpr const char* kAboutVersion = "Kelvane Ver. 0.2w";
inline constexpr const char* kAboutReferencesLabel = "References";

// The 38 lines of the reference list, in order.
const std::vector<std::string>& ReferenceLines();

}  // namespace kelvane::ui
