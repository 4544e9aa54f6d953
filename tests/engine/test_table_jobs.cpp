// Tables on one, two and three threads: the same bytes for TYPE I and TYPE II, through
// the command line and through the writer, and a table stopped in the middle keeps the
// same complete rows for any number of threads.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "forms/main_form.h"
#include "tables/table_writer.h"

using namespace kelvane;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class TableJobs : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kelvane_table_jobs_" + std::to_string(getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs `kelvane-cli table ARGS --jobs N --out FILE` and returns the file's bytes.
    // The success message ends with the count of the file's cells that hold no number
    // (cells after the first `keys` columns of each row below the two heading lines).
    std::string Cli(std::vector<std::string> args, int jobs, int keys = 1) {
        const fs::path out = dir / ("jobs" + std::to_string(jobs) + ".txt");
        args.insert(args.end(), {"--jobs", std::to_string(jobs), "--out", out.string()});
        std::ostringstream o, e;
        EXPECT_EQ(RunTableCli(args, o, e), 0) << e.str();
        const std::string file = ReadAll(out);
        int cells = 0, withoutNumber = 0;
        std::istringstream lines(file);
        std::string line;
        for (int n = 0; std::getline(lines, line); ++n) {
            if (n < 2) continue;
            // Split at every tab: an empty cell at the end of a line counts too.
            std::vector<std::string> row(1);
            for (char ch : line) {
                if (ch == '\t')
                    row.emplace_back();
                else
                    row.back().push_back(ch);
            }
            for (int k = 0; k < static_cast<int>(row.size()); ++k) {
                const std::string& field = row[k];
                if (k < keys) continue;
                ++cells;
                char* end = nullptr;
                std::strtod(field.c_str(), &end);
                if (field.empty() || *end != '\0' || field.find_first_of("Nn") != std::string::npos) ++withoutNumber;
            }
        }
        EXPECT_GT(cells, 0);
        EXPECT_EQ(o.str(), std::string(kTableDone) + "\n" + std::to_string(withoutNumber) + " of " +
                               std::to_string(cells) + " cells hold a message or are empty.\n");
        return file;
    }
    fs::path dir;
};

// Stops the table after cell `stopAt` and keeps what was written.
class StoppingOutput : public StringTableOutput {
public:
    explicit StoppingOutput(int stopAt) : stopAt_(stopAt) {}
    bool CellFinished(int done, int total, const PointInput& input, const PointResult& result) override {
        EXPECT_GT(input.T, 0);
        EXPECT_EQ(result.state.T, input.T);
        finished.push_back(done);
        (void)total;
        return done != stopAt_;
    }
    std::vector<int> finished;

private:
    int stopAt_;
};

}  // namespace

TEST_F(TableJobs, TypeOneIsTheSameOnAnyNumberOfThreads) {
    for (const char* fluid : {"water", "methanol", "co2"}) {
        const std::vector<std::string> args = {"--fluid", fluid, "--row-series", "T=220,9.5,40", "--col",
                                               "P=0.01,0.5,1,5,7.5,10,50,100", "--property", "11"};
        const std::string one = Cli(args, 1);
        ASSERT_GT(std::count(one.begin(), one.end(), '\n'), 40) << fluid;
        EXPECT_EQ(Cli(args, 2), one) << fluid;
        EXPECT_EQ(Cli(args, 3), one) << fluid;
    }
    // Density given, another property, reduced units.
    const std::vector<std::string> rho = {"--fluid", "co2", "--T-unit", "Tr", "--row-series", "T=0.75,0.02,30",
                                          "--col", "rho=1,100,300,467.6,700,1000", "--property", "0"};
    const std::string one = Cli(rho, 1);
    EXPECT_EQ(Cli(rho, 2), one);
    EXPECT_EQ(Cli(rho, 3), one);
}

TEST_F(TableJobs, TypeTwoIsTheSameOnAnyNumberOfThreads) {
    const fs::path pairs = dir / "pairs.txt";
    {
        std::ofstream f(pairs);
        f << "T (K)\tP (MPa)\n";
        for (int i = 0; i < 300; ++i) f << 275 + 5 * (i % 200) << "\t" << 0.05 + (i * 37 % 101) * 0.5 << "\n";
    }
    for (const char* fluid : {"water", "methanol", "co2"}) {
        const std::vector<std::string> args = {"--fluid", fluid,         "--type",     "II",
                                               "--file",  pairs.string(), "--property", "14"};
        const std::string one = Cli(args, 1, 2);
        ASSERT_GT(std::count(one.begin(), one.end(), '\n'), 300) << fluid;
        EXPECT_EQ(Cli(args, 2, 2), one) << fluid;
        EXPECT_EQ(Cli(args, 3, 2), one) << fluid;
    }
}

TEST_F(TableJobs, AStopInTheMiddleKeepsTheSameCompleteRows) {
    const fs::path pairs = dir / "pairs.txt";
    {
        std::ofstream f(pairs);
        f << "T\tP\n";
        for (int i = 0; i < 60; ++i) f << 280 + 3 * i << "\t" << 1 + i % 7 << "\n";
    }
    struct Case {
        TableSettings settings;
        int stopAt, rows;  // the cell after which the table stops; complete rows then
    };
    TableSettings matrix;
    matrix.property = 11;
    matrix.rowList = "280,300,320,340,360,380,400,420,440,460";
    matrix.columnList = "0.1,1,2,5,10";
    TableSettings file;
    file.type = 1;
    file.property = 11;
    file.columnsFile = pairs.string();
    const Case cases[] = {{matrix, 23, 4}, {matrix, 25, 5}, {file, 37, 37}};
    for (const Case& c : cases) {
        std::string reference;
        for (int jobs : {1, 2, 3}) {
            MainForm main;
            TableSettings s = c.settings;
            s.jobs = jobs;
            StoppingOutput out(c.stopAt);
            const TableResult r = MakeTable(main, s, out);
            SCOPED_TRACE("stop at " + std::to_string(c.stopAt) + ", " + std::to_string(jobs) + " threads");
            EXPECT_EQ(r.status, TableResult::Status::Stopped);
            EXPECT_EQ(r.rowsWritten, c.rows);
            // Every cell up to the stop was handed over once, in order, and none after.
            ASSERT_EQ(out.finished.size(), static_cast<size_t>(c.stopAt));
            for (int k = 0; k < c.stopAt; ++k) EXPECT_EQ(out.finished[k], k + 1);
            // Title, heading and the complete rows.
            EXPECT_EQ(std::count(out.Text().begin(), out.Text().end(), '\n'), c.rows + 1);
            if (jobs == 1)
                reference = out.Text();
            else
                EXPECT_EQ(out.Text(), reference);
        }
        // The stopped file is the beginning of the whole table.
        MainForm main;
        StringTableOutput whole;
        ASSERT_EQ(MakeTable(main, c.settings, whole).status, TableResult::Status::Written);
        EXPECT_EQ(whole.Text().compare(0, reference.size(), reference), 0);
        EXPECT_GT(whole.Text().size(), reference.size());
    }
}
