#include "tables/atomic_file.h"

#include "tables/table_writer.h"

namespace kelvane {

bool WriteFileReplacing(const std::string& path, std::string_view text, std::string& error) {
    if (path.empty()) {
        error = "No file name.";
        return false;
    }
    // One writer for every table file: FileTableOutput stores the text in a temporary
    // file beside the target and renames it over the target only when all of it was
    // written (a device or a pipe is written directly, never replaced).
    FileTableOutput file(path);
    if (file.Open(error) && file.Write(text, error) && file.Close(error)) return true;
    file.Abandon();
    return false;
}

}  // namespace kelvane
