// The verification report: every published check value and the consistency
// identities of every fluid, computed live, with their agreement and verdict.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvane::verify {

// One line of the report.
struct CheckResult {
    std::string formulation;  // formulation name, or "Consistency (<fluid>)"
    int fluid = 0;            // 0 water, 1 methanol, 2 carbon dioxide
    std::string source;       // publication table, or the identity
    std::string state;        // e.g. "T=300 K, p=3 MPa"
    std::string quantity;     // e.g. "h / kJ/kg"
    std::string published;    // as printed (consistency: the identity's other side)
    double expected = 0;      // published value plus the documented shift
    double computed = 0;      // NaN when the calculation gave no number
    double tolerance = 0;     // allowed |computed - expected|
    std::string note;         // documented shift or allowance, or the calculation's message
    bool shifted = false;     // the expected value differs from the published text
    bool pass = false;

    // Agreeing significant digits: -log10 |computed - expected| / |expected|, 16 for
    // exact agreement, 0 when nothing was computed.
    double Digits() const;
};

// Names of the fluids as the report and the --fluid option spell them.
const char* FluidName(int fluid);          // "water", "methanol", "co2"
int FluidByName(const std::string& name);  // -1 when unknown

struct CheckValue;
// One published check value computed and judged.
CheckResult Evaluate(const CheckValue& c);

// Every check (fluid -1) or those of one fluid: published values first, in the table's
// order, then the consistency identities.
std::vector<CheckResult> RunVerification(int fluid = -1);
// Only the published check values, or only the consistency identities.
std::vector<CheckResult> RunPublishedChecks(int fluid = -1);
std::vector<CheckResult> RunConsistencyChecks(int fluid = -1);

// The results of one fluid (-1: all) with the failures first, each group in the
// report's order: the rows of the verification window.
std::vector<CheckResult> ForDisplay(const std::vector<CheckResult>& results, int fluid);

// Per formulation: count, failures, worst agreement.
struct Summary {
    std::string formulation;
    int checks = 0, failures = 0;
    double worstDigits = 16;   // fewest agreeing digits
    double worstFraction = 0;  // largest |computed - expected| / tolerance
};
std::vector<Summary> Summarize(const std::vector<CheckResult>& results);

// The number printed with 12 significant digits (NaN: "-").
std::string FormatNumber(double x);
// Agreeing digits with one decimal ("16" for exact agreement).
std::string FormatDigits(double digits);

// The report as text lines, as tab-separated text (heading line first), and as the
// Markdown document; each lists every check and then the summaries.
void WriteText(const std::vector<CheckResult>& results, std::ostream& out);
void WriteTsv(const std::vector<CheckResult>& results, std::ostream& out);
void WriteMarkdown(const std::vector<CheckResult>& results, std::ostream& out);
// The heading fields of the tab-separated form (the window's columns).
const std::vector<std::string>& ReportColumns();
// One result as the fields of ReportColumns().
std::vector<std::string> ReportFields(const CheckResult& r);

}  // namespace kelvane::verify
