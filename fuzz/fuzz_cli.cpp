// The command-line tool on any argument list: the input holds the arguments, one a
// line, then an empty line and the text of a two-column file. Every --out is sent to
// standard output (captured here) and every --file is the temporary file holding the
// rest of the input, so a run writes nothing but that one temporary file. Inputs
// whose tables would take more than a few hundred cells are skipped to keep each run
// short.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/format.h"
#include "fuzz_check.h"
#include "tables/value_lists.h"

using namespace kelvane;

namespace {

constexpr int kMaxCells = 400;
constexpr size_t kMaxFileLines = 64;

const std::string& ColumnsFile() {
    static const std::string name = "/tmp/kelvane_fuzz_columns_" + std::to_string(getpid()) + ".txt";
    return name;
}

// Values an axis argument VAR=LIST or VAR=x,y,z would give.
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

    std::vector<std::string> args;
    size_t start = 0;
    while (start <= argText.size()) {
        const size_t nl = argText.find('\n', start);
        args.push_back(argText.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }

    int rows = 1, columns = 1;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out") args[i + 1] = "-";
        if (a == "--file") args[i + 1] = ColumnsFile();
        if (a == "--row" || a == "--row-series") rows = std::max(rows, AxisValues(a, args[i + 1]));
        if (a == "--col" || a == "--col-series") columns = std::max(columns, AxisValues(a, args[i + 1]));
    }
    if (rows * columns > kMaxCells) return 0;
    size_t lines = 0;
    for (size_t i = 0; i < fileText.size(); ++i)
        if (fileText[i] == '\n' && ++lines == kMaxFileLines) fileText.resize(i);
    std::ofstream(ColumnsFile(), std::ios::binary) << fileText;

    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    FUZZ_CHECK(code == 0 || code == 1 || code == 2, "unknown exit code");
    if (code != 0) FUZZ_CHECK(!err.str().empty(), "a failure without a message");
    bool help = false;
    for (const std::string& a : args) help = help || a == "--help" || a == "-h";
    if (code == 0 && !args.empty() && args[0] == "table" && !help)
        FUZZ_CHECK((out.str() + err.str()).find("The table has been made successfully.") != std::string::npos,
                   "a table ended with exit code 0 but without the success message");
    return 0;
}
