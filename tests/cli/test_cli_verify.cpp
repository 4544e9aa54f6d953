// "kelvane-cli verify": the report on standard output and its exit status.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "verify/check_values.h"

using namespace kelvane;

namespace {

struct VerifyRun {
    int code;
    std::string out, err;
};

VerifyRun Verify(std::vector<std::string> args) {
    args.insert(args.begin(), "verify");
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(CliVerify, EveryCheckPassesAndIsListed) {
    const VerifyRun r = Verify({});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> lines = Lines(r.out);
    size_t checks = 0, failed = 0;
    for (const std::string& l : lines) {
        checks += l.rfind("pass ", 0) == 0 || l.rfind("FAIL ", 0) == 0;
        failed += l.rfind("FAIL ", 0) == 0;
    }
    EXPECT_GT(checks, verify::CheckValues().size());  // the identities come after
    EXPECT_EQ(failed, 0u);
    EXPECT_EQ(lines.back(), std::to_string(checks) + " checks, 0 failed");
    // One summary line per formulation and per fluid's identities.
    size_t summaries = 0;
    for (const std::string& l : lines) summaries += l.find(" checks, 0 failed, worst agreement ") != std::string::npos;
    EXPECT_EQ(summaries, static_cast<size_t>(verify::FormulationId::kCount) + 3);
    EXPECT_NE(r.out.find("pass  IF97 region 1                   T=300 K, p=3 MPa"), std::string::npos);
}

TEST(CliVerify, OneFluidAsTabSeparatedText) {
    const VerifyRun r = Verify({"--fluid", "methanol", "--tsv"});
    EXPECT_EQ(r.code, 0);
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_GT(lines.size(), 20u);
    EXPECT_EQ(lines[0], "Formulation\tSource\tState\tQuantity\tPublished\tComputed\tDigits\tTolerance\tResult\tNote");
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].rfind("Methanol (de Reuck-Craven)\t", 0) == 0 ||
                    lines[i].rfind("Methanol viscosity (Xiang)\t", 0) == 0 ||
                    lines[i].rfind("Methanol conductivity (Sykioti)\t", 0) == 0 ||
                    lines[i].rfind("Consistency (methanol)\t", 0) == 0)
            << lines[i];
        EXPECT_NE(lines[i].find("\tpass\t"), std::string::npos) << lines[i];
    }
    EXPECT_NE(r.out.find("Table 6\tT=400 K, p=0.1 MPa\trho / kg/m3\t0.97575\t"), std::string::npos);
    EXPECT_NE(r.out.find("Check states\tT=300 K, rho=850 kg/m3\tlambda / mW/(m K)\t241.48\t"), std::string::npos);
}

TEST(CliVerify, MarkdownDocument) {
    const VerifyRun r = Verify({"--fluid", "co2", "--markdown"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("# Verification report\n", 0), 0u);
    EXPECT_NE(r.out.find("| Span-Wagner single phase | 63 | 0 |"), std::string::npos);
    EXPECT_EQ(r.out.find("IF97"), std::string::npos);
}

TEST(CliVerify, BadUsage) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--fluid"}, {"--fluid", "steam"}, {"--tsv", "--markdown"}, {"--T", "300"}}) {
        const VerifyRun r = Verify(args);
        EXPECT_EQ(r.code, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("kelvane-cli verify: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("usage: kelvane-cli verify"), std::string::npos);
    }
    const VerifyRun help = Verify({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out, VerifyUsage());
    std::ostringstream out, err;
    RunCli({"--help"}, out, err);
    EXPECT_NE(out.str().find("kelvane-cli verify ..."), std::string::npos);
}

}  // namespace
