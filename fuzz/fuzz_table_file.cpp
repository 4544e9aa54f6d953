// "kelvane-cli table" writing a real file over existing content: the input holds the
// arguments after "table", one a line, then an empty line and the text of a two-column
// file. Every --out names the same file in a folder of this process, which holds
// known content before each run; every --file names the two-column file (so --file X
// --out X cannot be written). After a failed run the old content must be there, byte
// for byte, and no temporary file may be left; after a successful one the file holds
// the table and no cell with NAN or INF.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "fuzz_check.h"
#include "tables/value_lists.h"

using namespace kelvane;

namespace {

constexpr int kMaxCells = 400;
constexpr size_t kMaxFileLines = 64;
const char* const kOld = "OLD CONTENT\nthat a failed table must leave alone\n";

const std::string& Folder() {
    static const std::string name = [] {
        std::string n = "/tmp/kelvane_fuzz_table_" + std::to_string(getpid());
        mkdir(n.c_str(), 0700);
        return n + "/";
    }();
    return name;
}

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int Entries(const std::string& folder) {
    int n = 0;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d)) n += e->d_name[0] != '.' || (e->d_name[1] != 0 && e->d_name[1] != '.');
        closedir(d);
    }
    return n;
}

int AxisValues(const std::string& option, const std::string& value) {
    const size_t eq = value.find('=');
    const std::string list = eq == std::string::npos ? value : value.substr(eq + 1);
    static ValueArray v;
    const ListResult r = ParseList(list, v);
    if (option.find("series") == std::string::npos) return r.count;
    if (r.count != 3) return 1;
    const double z = v[2];
    return z >= 1 && z < kMaxCells ? static_cast<int>(std::ceil(z)) : (z >= 1 ? kMaxCells + 1 : 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 2000) return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find("\n\n");
    const std::string argText = input.substr(0, split);
    std::string fileText = split == std::string::npos ? std::string() : input.substr(split + 2);

    const std::string target = Folder() + "table.txt", columns = Folder() + "pairs.txt";
    std::vector<std::string> args = {"table"};
    size_t start = 0;
    while (start <= argText.size()) {
        const size_t nl = argText.find('\n', start);
        args.push_back(argText.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    int rows = 1, cols = 1;
    bool sameFile = false;
    for (size_t i = 1; i + 1 < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out") args[i + 1] = target;
        if (a == "--file") {
            // A file name starting with "same" asks for the table file itself.
            sameFile = sameFile || args[i + 1].rfind("same", 0) == 0;
            args[i + 1] = args[i + 1].rfind("same", 0) == 0 ? target : columns;
        }
        if (a == "--row" || a == "--row-series") rows = std::max(rows, AxisValues(a, args[i + 1]));
        if (a == "--col" || a == "--col-series") cols = std::max(cols, AxisValues(a, args[i + 1]));
    }
    if (rows * cols > kMaxCells) return 0;
    size_t lines = 0;
    for (size_t i = 0; i < fileText.size(); ++i)
        if (fileText[i] == '\n' && ++lines == kMaxFileLines) fileText.resize(i);
    std::ofstream(columns, std::ios::binary) << fileText;
    std::ofstream(target, std::ios::binary | std::ios::trunc) << kOld;

    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    FUZZ_CHECK(code == 0 || code == 1 || code == 2, "unknown exit code");
    const std::string after = ReadAll(target);
    FUZZ_CHECK(Entries(Folder()) == 2, "a temporary file was left in the table's folder");
    bool help = false;
    for (const std::string& a : args) help = help || a == "--help" || a == "-h";
    if (code != 0 || help) {
        FUZZ_CHECK(after == kOld, "a table that failed changed the file it was to replace");
        FUZZ_CHECK(code == 0 || !err.str().empty(), "a failure without a message");
    } else {
        FUZZ_CHECK(!sameFile, "a table read from its own output file");
        FUZZ_CHECK(out.str().rfind("The table has been made successfully.\n", 0) == 0, "success without the message");
        FUZZ_CHECK(after != kOld, "a table made successfully left the old file");
        FUZZ_CHECK(after.find("NAN") == std::string::npos && after.find("INF") == std::string::npos,
                   "a table made successfully holds NAN or INF");
    }
    return 0;
}
