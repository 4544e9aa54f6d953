// "kelvane-cli saturation" and the point input of the vapour fraction: the output
// layout, columns, units, messages in rows, exit codes and the written file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"

namespace kelvane {
namespace {

struct CliRun {
    int code;
    std::string out, err;
};
CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}
std::vector<std::string> Cells(const std::string& line, char sep = '\t') {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string c; std::getline(in, c, sep);) cells.push_back(c);
    return cells;
}

TEST(SaturationCli, DefaultColumnsUnitsAndRows) {
    const CliRun r = Cli({"saturation", "--P", "0.101325,30,1e-6"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(
        lines[0],
        "T\tP\tRho_liq\tRho_vap\tH_liq\tH_vap\tdH\tS_liq\tS_vap\tCp_liq\tCp_vap\tW_liq\tW_vap\tVisc_liq\tVisc_vap\t"
        "Therc_liq\tTherc_vap");
    EXPECT_EQ(Cells(lines[1])[0], "K");
    EXPECT_EQ(Cells(lines[1])[4], "J / mol");
    const auto row = Cells(lines[2]);
    EXPECT_EQ(row[0].substr(0, 7), "373.126");
    EXPECT_EQ(row[1], "0.101325");
    EXPECT_NEAR(std::stod(row[6]), std::stod(row[5]) - std::stod(row[4]), 1e-3);
    const auto over = Cells(lines[3]);
    EXPECT_EQ(over[1], "30");
    EXPECT_EQ(over[0], "over Pc");
    EXPECT_EQ(over[16], "over Pc");
    EXPECT_NE(Cells(lines[4])[2].find("Not applied to the range less than"), std::string::npos);
    // Methanol's default columns hold its viscosity and thermal conductivity too.
    const CliRun m = Cli({"saturation", "--fluid", "methanol", "--T", "300"});
    EXPECT_EQ(Lines(m.out)[0],
              "T\tP\tRho_liq\tRho_vap\tH_liq\tH_vap\tdH\tS_liq\tS_vap\tCp_liq\tCp_vap\tW_liq\tW_vap"
              "\tVisc_liq\tVisc_vap\tTherc_liq\tTherc_vap");
}

TEST(SaturationCli, ChosenColumnsUnitsPreciseAndCsv) {
    const CliRun r = Cli({"saturation", "--fluid", "co2", "--T-series", "240,20,3", "--columns", "T,P,H_vap,dS,Rho_liq",
                          "--amount", "kg", "--P-unit", "bar", "--precise", "--csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "T,P,H_vap,dS,Rho_liq");
    EXPECT_EQ(lines[1], "K,bar,J / kg,J / (kg K),kg / m3");
    const auto row = Cells(lines[2], ',');
    EXPECT_EQ(row[0], "240");
    EXPECT_NEAR(std::stod(row[1]), 12.825, 0.0005);  // Span-Wagner Table 34
    EXPECT_NEAR(std::stod(row[2]), -70293, 0.55);    // J/kg
    EXPECT_NEAR(std::stod(row[4]), 1088.87, 0.0055);
    EXPECT_GE(row[1].size(), 15u);  // 15 significant digits
    // A row outside the saturation range holds the message after the given value.
    const CliRun q = Cli({"saturation", "--T", "200", "--columns", "T,P", "--csv"});
    EXPECT_EQ(Lines(q.out)[2], "200,Not applied to the range less than 273.15 K.");
}

TEST(SaturationCli, UsageErrorsAndBadNumbers) {
    const CliRun unknown = Cli({"saturation", "--T", "300", "--columns", "T,Hvap"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("H_vap"), std::string::npos);  // lists the valid names
    EXPECT_EQ(Cli({"saturation"}).code, 2);
    EXPECT_EQ(Cli({"saturation", "--T", "300", "--P", "1"}).code, 2);
    EXPECT_EQ(Cli({"saturation", "--T", "300,abc"}).code, 2);
    EXPECT_EQ(Cli({"saturation", "--T", "300,"}).code, 2);
    EXPECT_EQ(Cli({"saturation", "--T-series", "300,10"}).code, 1);
    EXPECT_EQ(Cli({"saturation", "--T", "300", "--out"}).code, 2);
    EXPECT_EQ(Cli({"saturation", "--help"}).code, 0);
}

TEST(SaturationCli, FileWrittenWholeThroughATemporaryFile) {
    const auto dir = std::filesystem::temp_directory_path() / "kelvane_saturation_cli";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "sat.tsv").string();
    const CliRun r = Cli({"saturation", "--T", "300,400", "--out", file});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(Lines(s.str()).size(), 4u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no temporary left
    const CliRun bad = Cli({"saturation", "--T", "300", "--out", (dir / "missing" / "x.tsv").string()});
    EXPECT_EQ(bad.code, 1);
    std::filesystem::remove_all(dir);
}

TEST(SaturationCli, TheTableFilesWriterKeepsDevicesAndLeavesAFileOnError) {
    // A device is written directly, never replaced by a rename.
    const CliRun toNull = Cli({"saturation", "--T", "300,400", "--out", "/dev/null"});
    EXPECT_EQ(toNull.code, 0) << toNull.err;
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    // A folder is no table file: refused with the writer's message.
    const auto dir = std::filesystem::temp_directory_path() / "kelvane_saturation_cli_folder";
    std::filesystem::create_directories(dir);
    const CliRun folder = Cli({"saturation", "--T", "300", "--out", dir.string()});
    EXPECT_EQ(folder.code, 1);
    EXPECT_EQ(folder.err,
              "kelvane-cli saturation: The table file \"" + dir.string() + "\" cannot be created: it is a folder.\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 0);
    std::filesystem::remove_all(dir);
}

TEST(PointCli, VapourFractionByTemperatureAndByPressure) {
    const CliRun t = Cli({"--T", "373.12618841938", "--x", "0.25", "--tsv"});
    ASSERT_EQ(t.code, 0) << t.err;
    const auto lines = Lines(t.out);
    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(lines[28], "x\t0.25\t");
    EXPECT_EQ(Cells(lines[0])[0], "T");
    EXPECT_EQ(Cells(lines[27])[0], "n");
    EXPECT_EQ(Cells(lines[1])[1].substr(0, 6), "0.1013");
    EXPECT_EQ(Cells(lines[14])[1], "N/A");  // Cp
    const CliRun p = Cli({"--P", "0.101325", "--x", "0.25", "--tsv"});
    ASSERT_EQ(p.code, 0);
    EXPECT_EQ(Cells(Lines(p.out)[0])[1].substr(0, 7), "373.126");
    EXPECT_EQ(Cells(Lines(p.out)[9])[1], Cells(lines[9])[1]);  // H
    // The temperature found from the pressure is a result: 15 digits with --precise, as
    // the pressure found from the temperature.
    const CliRun precise = Cli({"--P", "0.101325", "--x", "0.25", "--tsv", "--precise"});
    ASSERT_EQ(precise.code, 0);
    EXPECT_EQ(Cells(Lines(precise.out)[0])[1], "373.126188418611");
    // A single-phase state leaves x empty; the first 28 names are unchanged.
    const CliRun single = Cli({"--T", "300", "--P", "10", "--tsv"});
    EXPECT_EQ(Lines(single.out)[28], "x\t\t");
    // Messages and usage.
    EXPECT_NE(Cli({"--T", "373", "--x", "2"}).out.find("between 0 and 1"), std::string::npos);
    EXPECT_EQ(Cli({"--T", "373", "--x", "half"}).code, 2);
    EXPECT_EQ(Cli({"--rho", "1", "--x", "0.5"}).code, 2);
    EXPECT_EQ(Cli({"--x", "0.5"}).code, 2);
}

}  // namespace
}  // namespace kelvane
