#include "tables/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace kelvane {

bool WriteFileReplacing(const std::string& path, std::string_view text, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (path.empty() || target.filename().empty()) {
        error = "No file name.";
        return false;
    }
    std::random_device seed;
    const fs::path temporary =
        target.parent_path() / ("." + target.filename().string() + ".tmp" + std::to_string(seed() % 1000000));
    std::FILE* f = std::fopen(temporary.string().c_str(), "wbx");
    if (!f) {
        error = "The file " + path + " could not be written: " + std::strerror(errno) + ".";
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (!written || !closed) {
        error = "The file " + path + " could not be written.";
        fs::remove(temporary, ec);
        return false;
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        error = "The file " + path + " could not be written: " + ec.message() + ".";
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

}  // namespace kelvane
