// "kelvane-cli verify": the verification report on standard output.
#include <ostream>

#include "cli/cli.h"
#include "cli/cli_options.h"
#include "verify/verification.h"

namespace kelvane {

std::string VerifyUsage() {
    return "usage: kelvane-cli verify [--fluid water|methanol|co2] [--tsv | --markdown]\n"
           "\n"
           "Computes every published check value of the formulations the calculator uses, and\n"
           "the thermodynamic identities of every fluid, through the point calculation, and\n"
           "prints one line per check and a summary per formulation. Exit status 0 when every\n"
           "check passes, 1 otherwise.\n"
           "  --fluid     only the checks of one fluid\n"
           "  --tsv       tab-separated: a heading line, then one line per check\n"
           "  --markdown  the document docs/verification.md\n";
}

int RunVerifyCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int fluid = -1;
    bool tsv = false, markdown = false;
    try {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (a == "--help" || a == "-h") {
                out << VerifyUsage();
                return 0;
            } else if (a == "--fluid") {
                const std::string name = cli::OptionValue(args, i);
                fluid = verify::FluidByName(name);
                if (fluid < 0) throw cli::UsageError{"unknown fluid: " + cli::Printable(name)};
            } else if (a == "--tsv") {
                tsv = true;
            } else if (a == "--markdown") {
                markdown = true;
            } else {
                throw cli::UsageError{"unknown option: " + cli::Printable(a)};
            }
        }
        if (tsv && markdown) throw cli::UsageError{"--tsv and --markdown exclude each other"};
    } catch (const cli::UsageError& e) {
        err << "kelvane-cli verify: " << e.what << "\n" << VerifyUsage().substr(0, VerifyUsage().find("\n\n")) << "\n";
        return 2;
    }
    const std::vector<verify::CheckResult> results = verify::RunVerification(fluid);
    if (tsv) {
        verify::WriteTsv(results, out);
    } else if (markdown) {
        verify::WriteMarkdown(results, out);
    } else {
        verify::WriteText(results, out);
    }
    for (const verify::CheckResult& r : results)
        if (!r.pass) return 1;
    return 0;
}

}  // namespace kelvane
