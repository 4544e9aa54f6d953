// Writing a whole file so that a reader never sees it half written, through the table
// files' writer (FileTableOutput): the text goes to a temporary file in the target's
// folder, which then replaces the target by a rename.
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Writes `text` to `path` through a temporary file beside it. On failure the target
// is left as it was, the temporary file is removed and `error` holds the reason.
bool WriteFileReplacing(const std::string& path, std::string_view text, std::string& error);

}  // namespace kelvane
