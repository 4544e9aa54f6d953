// The table file is never lost: a table is written to a temporary file beside the
// target, which replaces the target only when the table is complete or stopped; any
// error leaves the old file as it was. Writes are checked as they happen, the two-column
// file is read whole first, and the command-line tool stops on SIGINT and SIGTERM with
// the complete rows in the file.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli.h"
#include "core/format.h"
#include "forms/main_form.h"
#include "tables/table_writer.h"
#include "tables/value_lists.h"

using namespace kelvane;

namespace {

constexpr int kQCp = 11;
const std::string kOld = "OLD\nearlier table\n";

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

// A folder of its own per test, so that leftovers are seen.
class TableFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = ::testing::TempDir() + "kelvane_files_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        mkdir(folder.c_str(), 0700);
        for (const std::string& e : Entries(folder)) unlink((folder + e).c_str());
        target = folder + "table.txt";
    }
    TableResult Make(TableOutput& out, const std::string& rows, const std::string& cols, int q = kQCp) {
        TableSettings s;
        s.rowVariable = kVarT;
        s.columnVariable = kVarP;
        s.property = q;
        s.rowList = rows;
        s.columnList = cols;
        s.jobs = 2;
        return MakeTable(main, s, out);
    }
    MainForm main;
    std::string folder, target;
};

// Fails every write from the n-th on, and counts the cells computed.
class FailingOutput : public StringTableOutput {
public:
    explicit FailingOutput(int failAt) : failAt_(failAt) {}
    bool Write(std::string_view text, std::string& error) override {
        if (++writes >= failAt_) {
            error = "no space left";
            return false;
        }
        return StringTableOutput::Write(text, error);
    }
    bool Close(std::string&) override { return ++closed, true; }
    void Abandon() override { ++abandoned; }
    bool CellDone(int done, int) override {
        cells = done;
        return true;
    }
    int writes = 0, cells = 0, closed = 0, abandoned = 0;

private:
    int failAt_;
};

TEST_F(TableFiles, ACompleteTableReplacesTheFileAndKeepsItsPermissions) {
    WriteFile(target, std::string(500, 'x'));
    chmod(target.c_str(), 0640);
    FileTableOutput file(target);
    const TableResult r = Make(file, "300,400", "1,2");
    ASSERT_EQ(r.status, TableResult::Status::Written) << r.message;
    StringTableOutput expected;
    Make(expected, "300,400", "1,2");
    EXPECT_EQ(ReadAll(target), expected.Text());
    struct stat st {};
    stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(folder), std::vector<std::string>{"table.txt"});
    // The success message keeps its first line and counts the cells without a number.
    EXPECT_EQ(r.message, std::string(kTableDone) + "\n0 of 4 cells hold a message or are empty.");
}

TEST_F(TableFiles, CellsWithMessagesAreCounted) {
    FileTableOutput file(target);
    // 3000 K is outside water's range: that row's cells hold nothing.
    const TableResult r = Make(file, "300,3000,400", "1,2");
    EXPECT_EQ(r.status, TableResult::Status::Written);
    EXPECT_EQ(r.message, std::string(kTableDone) + "\n2 of 6 cells hold a message or are empty.");
    EXPECT_EQ(r.cellsWithoutNumber, 2);
    EXPECT_EQ(ReadAll(target).find("NAN"), std::string::npos);
}

TEST_F(TableFiles, AValueBeyondTheRangeOfNumbersLeavesTheOldFile) {
    WriteFile(target, kOld);
    FileTableOutput file(target);
    EXPECT_THROW(Make(file, "300,1e400", "1"), ConversionError);
    EXPECT_EQ(ReadAll(target), kOld);
    EXPECT_EQ(Entries(folder), std::vector<std::string>{"table.txt"});
}

TEST_F(TableFiles, TheFirstFailedWriteEndsTheTable) {
    // Write 1: title, 2: heading, 3: first row.
    FailingOutput out(3);
    std::string rows;
    for (int i = 0; i < 200; ++i) rows += (i ? "," : "") + std::to_string(300 + i);
    const TableResult r = Make(out, rows, "1,2,3");
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_NE(r.message.find("no space left"), std::string::npos);
    EXPECT_EQ(out.writes, 3);
    EXPECT_EQ(out.cells, 3);  // no cell after the failed row
    EXPECT_EQ(out.closed, 0);
    EXPECT_EQ(out.abandoned, 1);
}

TEST_F(TableFiles, AFullDeviceIsReportedAndAFileOnItIsNotReplaced) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    FileTableOutput full("/dev/full");
    const TableResult r = Make(full, "300,400", "1,2");
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_NE(r.message.find("could not be written"), std::string::npos) << r.message;
    struct stat st {};
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));  // written directly, never replaced
    FileTableOutput null("/dev/null");
    EXPECT_EQ(Make(null, "300", "1").status, TableResult::Status::Written);
}

TEST_F(TableFiles, ATableInAFolderThatCannotBeWrittenLeavesNothing) {
    FileTableOutput missing(folder + "no_such_folder/table.txt");
    const TableResult r = Make(missing, "300", "1");
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_NE(r.message.find("cannot be created"), std::string::npos);
    FileTableOutput dir(folder);
    EXPECT_EQ(Make(dir, "300", "1").status, TableResult::Status::OutputFailed);
}

TEST_F(TableFiles, AStoppedTableKeepsItsCompleteRows) {
    WriteFile(target, kOld);
    class Stopping : public FileTableOutput {
    public:
        using FileTableOutput::FileTableOutput;
        bool CellDone(int done, int) override { return done < 5; }
    } file(target);
    const TableResult r = Make(file, "300,400,500", "1,2");
    EXPECT_EQ(r.status, TableResult::Status::Stopped);
    EXPECT_EQ(r.rowsWritten, 2);
    EXPECT_NE(r.message.find("stopped after 2 of 3 rows"), std::string::npos);
    const std::vector<std::string> lines = Lines(ReadAll(target));
    ASSERT_EQ(lines.size(), 4u);  // title, heading, two complete rows
    EXPECT_EQ(lines[2].rfind("300\t", 0), 0u);
    EXPECT_EQ(lines[3].rfind("400\t", 0), 0u);
    EXPECT_EQ(Entries(folder), std::vector<std::string>{"table.txt"});
}

TEST_F(TableFiles, TheColumnsFileIsNeverTheTableFile) {
    const std::string pairs = folder + "pairs.txt", link = folder + "link.txt";
    const std::string text = "T\tP\n300\t1\n400\t2";
    WriteFile(pairs, text);
    ASSERT_EQ(symlink(pairs.c_str(), link.c_str()), 0);
    for (const std::string& out : {pairs, link}) {
        TableSettings s;
        s.type = 1;
        s.property = kQCp;
        s.columnsFile = pairs;
        FileTableOutput file(out);
        const TableResult r = MakeTable(main, s, file);
        EXPECT_EQ(r.status, TableResult::Status::Invalid) << out;
        EXPECT_EQ(r.message, kSameFile);
        EXPECT_EQ(ReadAll(pairs), text);
    }
}

bool IsLink(const std::string& name) {
    struct stat st {};
    return lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string LinkText(const std::string& name) {
    char buffer[4096];
    const ssize_t n = readlink(name.c_str(), buffer, sizeof buffer);
    return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
}

TEST_F(TableFiles, ALinkStaysALinkAndTheFileItNamesGetsTheTable) {
    // The real file lies in another folder than the link, which names it by a relative
    // path; a second link names the first.
    const std::string real = folder + "real/", file = real + "table.txt";
    mkdir(real.c_str(), 0700);
    WriteFile(file, kOld);
    chmod(file.c_str(), 0604);
    const std::string link = folder + "link.txt", chain = folder + "chain.txt";
    ASSERT_EQ(symlink("real/table.txt", link.c_str()), 0);
    ASSERT_EQ(symlink(link.c_str(), chain.c_str()), 0);
    StringTableOutput expected;
    Make(expected, "300,400", "1,2");
    for (const std::string& name : {link, chain}) {
        WriteFile(file, kOld);
        FileTableOutput out(name);
        ASSERT_EQ(Make(out, "300,400", "1,2").status, TableResult::Status::Written) << name;
        EXPECT_TRUE(IsLink(link)) << name;
        EXPECT_TRUE(IsLink(chain)) << name;
        EXPECT_EQ(LinkText(link), "real/table.txt");
        EXPECT_EQ(ReadAll(file), expected.Text()) << name;
        struct stat st {};
        stat(file.c_str(), &st);
        EXPECT_EQ(st.st_mode & 0777, 0604u) << name;
        EXPECT_EQ(Entries(real), std::vector<std::string>{"table.txt"}) << name;
        EXPECT_EQ(Entries(folder).size(), 3u) << name;  // real/, link.txt, chain.txt
    }
    // A table left by an error leaves the file behind the link as it was.
    WriteFile(file, kOld);
    FileTableOutput out(link);
    EXPECT_THROW(Make(out, "300,1e400", "1"), ConversionError);
    EXPECT_EQ(ReadAll(file), kOld);
    EXPECT_TRUE(IsLink(link));
    // A dangling link: the file it names is created, and the link then names it.
    const std::string dangling = folder + "dangling.txt", created = real + "new.txt";
    ASSERT_EQ(symlink(created.c_str(), dangling.c_str()), 0);
    FileTableOutput fresh(dangling);
    ASSERT_EQ(Make(fresh, "300,400", "1,2").status, TableResult::Status::Written);
    EXPECT_TRUE(IsLink(dangling));
    EXPECT_EQ(ReadAll(created), expected.Text());
    // A link to a device is written through, the device stays.
    const std::string null = folder + "null";
    ASSERT_EQ(symlink("/dev/null", null.c_str()), 0);
    FileTableOutput device(null);
    EXPECT_EQ(Make(device, "300", "1").status, TableResult::Status::Written);
    EXPECT_TRUE(IsLink(null));
    EXPECT_EQ(LinkText(null), "/dev/null");
    // A loop of links is refused.
    const std::string a = folder + "loop_a", b = folder + "loop_b";
    ASSERT_EQ(symlink(b.c_str(), a.c_str()), 0);
    ASSERT_EQ(symlink(a.c_str(), b.c_str()), 0);
    FileTableOutput loop(a);
    const TableResult r = Make(loop, "300", "1");
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_NE(r.message.find("cannot be created"), std::string::npos) << r.message;
    EXPECT_TRUE(IsLink(a));
}

TEST_F(TableFiles, TheColumnsFileSaysWhatIsWrongWithIt) {
    ValueArray a, b;
    auto problem = [&](const std::string& name) { return ReadColumns(name, "1", a, b).problem; };
    EXPECT_NE(problem(folder + "absent").find("cannot be opened"), std::string::npos);
    EXPECT_NE(problem(folder).find("is a folder"), std::string::npos);
    WriteFile(folder + "empty", "");
    EXPECT_NE(problem(folder + "empty").find("is empty"), std::string::npos);
    WriteFile(folder + "binary", std::string("T\tP\n300\t1\0\x01\x02", 12));
    EXPECT_NE(problem(folder + "binary").find("binary file"), std::string::npos);
    WriteFile(folder + "nopair", "T P\n300 1\n400 2\n");
    EXPECT_NE(problem(folder + "nopair").find("no line with two tab-separated values"), std::string::npos);
    WriteFile(folder + "good", "T\tP\n300\t1\n");
    const ColumnsResult good = ReadColumns(folder + "good", "1", a, b);
    EXPECT_EQ(good.count, 1);
    EXPECT_EQ(good.problem, "");
    // A name with bytes that are not printable is quoted escaped.
    const std::string odd = folder + "a\x01\xff" + "b";
    EXPECT_NE(problem(odd).find("a\\x01\\xFFb"), std::string::npos) << problem(odd);
    EXPECT_EQ(EscapedText("caf\xc3\xa9\t\x7f"), "caf\xc3\xa9\\x09\\x7F");
    EXPECT_EQ(EscapedText("\xc3"), "\\xC3");                    // a lead byte without its continuation
    EXPECT_EQ(EscapedText("\xed\xa0\x80"), "\\xED\\xA0\\x80");  // a surrogate
}

TEST_F(TableFiles, ASeriesBeyondTheRangeOfNumbersIsRefused) {
    EXPECT_EQ(MakeSeries("300,1e308,3").text, kSeriesNotFiniteMessage);
    EXPECT_EQ(MakeSeries("1e400,1,3").text, kSeriesNotFiniteMessage);
    EXPECT_EQ(MakeSeries("300,50,3").text, "300,350,400");
}

// The command-line tool, run as its own process.
struct CliRun {
    int code = -1;
    std::string out, err;
};

CliRun Spawn(const std::vector<std::string>& args, int signal = 0, const std::string& waitFor = "",
             int secondSignal = 0) {
    const std::string outName = ::testing::TempDir() + "kelvane_cli_out_" + std::to_string(getpid());
    const std::string errName = outName + ".err";
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        std::string exe = KELVANE_CLI_PATH;
        argv.push_back(exe.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (!freopen(outName.c_str(), "w", stdout) || !freopen(errName.c_str(), "w", stderr)) _exit(99);
        execv(exe.c_str(), argv.data());
        _exit(98);
    }
    if (signal) {
        // Wait until the table has rows in its temporary file, then interrupt it.
        const std::string folder = waitFor.substr(0, waitFor.rfind('/') + 1);
        for (int i = 0; i < 2000; ++i) {
            bool writing = false;
            for (const std::string& e : Entries(folder)) {
                struct stat st {};
                if (e.rfind(".kelvane-table-", 0) == 0 && stat((folder + e).c_str(), &st) == 0 && st.st_size > 0)
                    writing = true;
            }
            if (writing) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        kill(pid, signal);
        if (secondSignal) {
            if (secondSignal == signal) std::this_thread::sleep_for(std::chrono::microseconds(300));
            kill(pid, secondSignal);
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    CliRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    r.out = ReadAll(outName);
    r.err = ReadAll(errName);
    return r;
}

TEST_F(TableFiles, SigintAndSigtermStopTheTableWithItsCompleteRows) {
    // 2000 rows of 150 cells: long enough to be interrupted while it is written.
    const std::vector<std::pair<int, int>> cases = {{SIGINT, 130}, {SIGTERM, 143}};
    for (const auto& [signal, code] : cases) {
        WriteFile(target, kOld);
        const CliRun r = Spawn({"table", "--row-series", "T=300,0.1,2000", "--col-series", "P=0.1,0.5,150",
                                "--property", "11", "--jobs", "1", "--out", target},
                               signal, target);
        ASSERT_EQ(r.code, code) << r.err;
        const size_t at = r.err.find("stopped after ");
        ASSERT_NE(at, std::string::npos) << r.err;
        const int n = std::stoi(r.err.substr(at + 14));
        EXPECT_NE(r.err.find(" of 2000 rows"), std::string::npos) << r.err;
        const std::vector<std::string> lines = Lines(ReadAll(target));
        ASSERT_EQ(static_cast<int>(lines.size()), n + 2) << r.err;
        EXPECT_LT(n, 2000);
        for (size_t i = 2; i < lines.size(); ++i) {
            std::istringstream fields(lines[i]);
            int count = 0;
            for (std::string f; std::getline(fields, f, '\t');) ++count;
            EXPECT_EQ(count, 151) << "row " << i;
        }
        EXPECT_EQ(Entries(folder), std::vector<std::string>{"table.txt"});
    }
}

// The two-column file is read up to a limit: an endless device stops at its first NUL
// byte or at the limit, a file beyond the limit is refused without being read.
TEST_F(TableFiles, AnEndlessOrHugeColumnsFileIsRefused) {
    ValueArray a, b;
    for (const char* device : {"/dev/zero", "/dev/urandom"}) {
        if (access(device, R_OK) != 0) continue;
        const ColumnsResult r = ReadColumns(device, "1", a, b);
        EXPECT_FALSE(r.opened) << device;
        EXPECT_EQ(r.count, 0) << device;
        EXPECT_NE(r.problem.find("binary file"), std::string::npos) << r.problem;
    }
    // A sparse file one byte beyond the limit.
    const std::string huge = folder + "huge.txt";
    WriteFile(huge, "T\tP\n300\t1\n");
    ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(kMaxColumnsFileBytes) + 1), 0);
    ColumnsResult r = ReadColumns(huge, "1", a, b);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(r.problem, "The file for reading columns \"" + huge +
                             "\" is too large for a file of two columns (more than 64 MiB).");
    // Endless text through a pipe: read up to the limit, then refused.
    const std::string fifo = folder + "endless";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // The writer ends on EPIPE once the reader stops: no SIGPIPE meanwhile.
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &old);
    std::thread writer([&] {
        const int fd = open(fifo.c_str(), O_WRONLY);
        const std::string lines = [] {
            std::string t;
            for (int i = 0; i < 4096; ++i) t += "300\t1\n";
            return t;
        }();
        while (fd >= 0 && write(fd, lines.data(), lines.size()) > 0) {
        }
        if (fd >= 0) close(fd);
    });
    r = ReadColumns(fifo, "1", a, b);
    writer.join();  // the reader's close ends the writer (EPIPE)
    sigaction(SIGPIPE, &old, nullptr);
    EXPECT_EQ(r.count, 0);
    EXPECT_NE(r.problem.find("too large"), std::string::npos) << r.problem;
    // The command line says so and exits 1.
    const CliRun run = Spawn({"table", "--type", "II", "--file", "/dev/zero", "--property", "11", "--out", target});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find("binary file"), std::string::npos) << run.err;
    std::vector<std::string> left = Entries(folder);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"endless", "huge.txt"}));
}

// Standard output named as a file: a link to /proc/self/fd/1 (what /dev/stdout is)
// with standard output redirected to a file. That file gets the table and the link
// stays; with standard output on a pipe the table is written into the pipe.
TEST_F(TableFiles, StandardOutputNamedAsAFileIsWrittenNotReplaced) {
    if (access("/proc/self/fd/1", F_OK) != 0) GTEST_SKIP() << "no /proc";
    const std::string link = folder + "stdout";
    ASSERT_EQ(symlink("/proc/self/fd/1", link.c_str()), 0);
    const std::vector<std::string> args = {"table",      "--row", "T=300,400", "--col", "P=1,2",
                                           "--property", "11",    "--out",     link};
    const CliRun r = Spawn(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(IsLink(link));
    EXPECT_EQ(LinkText(link), "/proc/self/fd/1");
    StringTableOutput expected;
    Make(expected, "300,400", "1,2");
    // The table replaced the file standard output was redirected to; the success
    // message went to the replaced file.
    EXPECT_EQ(r.out, expected.Text());
    for (const std::string& e : Entries(folder)) EXPECT_NE(e.rfind(".kelvane-table-", 0), 0u) << e;

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], 1);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        std::vector<std::string> copy = args;
        std::vector<char*> argv;
        std::string exe = KELVANE_CLI_PATH;
        argv.push_back(exe.data());
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(98);
    }
    close(pipeEnds[1]);
    std::string piped;
    char block[4096];
    for (ssize_t n; (n = read(pipeEnds[0], block, sizeof block)) > 0;) piped.append(block, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(piped.substr(0, expected.Text().size()), expected.Text());
    EXPECT_TRUE(IsLink(link));
}

// A second signal ends the program at once, by that signal, and removes the temporary
// file: the earlier file stays as it was. Should the table have finished stopping
// before the second signal arrives, the file holds its complete rows. Either way no
// temporary file is left and the file is never a part of a table. SIGINT and SIGTERM
// are sent back to back, SIGINT twice 0.3 ms apart (so that the second comes once the
// first has been taken).
TEST_F(TableFiles, ASecondSignalEndsTheProgramAndLeavesNoTemporaryFile) {
    // 0: stopped by the first signal; 1: ended by the second before the table was
    // written; 2: ended by the second after the stopped table was written.
    auto run = [&](int first, int second) {
        WriteFile(target, kOld);
        const CliRun r = Spawn({"table", "--row-series", "T=300,0.1,2000", "--col-series", "P=0.1,0.5,150",
                                "--property", "11", "--jobs", "1", "--out", target},
                               first, target, second);
        EXPECT_EQ(Entries(folder), std::vector<std::string>{"table.txt"}) << r.code << " " << r.err;
        const std::string text = ReadAll(target);
        const std::vector<std::string> lines = Lines(text);
        bool complete = lines.size() >= 2 && text.back() != '\n';
        for (size_t i = 2; i < lines.size(); ++i)
            complete = complete && std::count(lines[i].begin(), lines[i].end(), '\t') == 150;
        if (r.code == 1000 + first || r.code == 1000 + second) {
            EXPECT_TRUE(text == kOld || complete) << r.code;
            return text == kOld ? 1 : 2;
        }
        EXPECT_EQ(r.code, 128 + first) << r.err;
        EXPECT_TRUE(complete);
        return 0;
    };
    int ended = 0, endedBeforeWritten = 0;
    for (int attempt = 0; attempt < 5 && ended == 0; ++attempt) ended += run(SIGINT, SIGTERM) != 0;
    EXPECT_EQ(ended, 1);
    for (int attempt = 0; attempt < 20; ++attempt) endedBeforeWritten += run(SIGINT, SIGINT) == 1;
    std::cout << endedBeforeWritten << " of 20 runs ended by the second SIGINT before the table was written\n";
    EXPECT_GE(endedBeforeWritten, 1);
}

TEST_F(TableFiles, TheCommandLineRefusesWhatWouldLoseTheFile) {
    const std::string pairs = folder + "pairs.txt", link = folder + "link.txt";
    WriteFile(pairs, "T\tP\n300\t1\n");
    symlink(pairs.c_str(), link.c_str());
    for (const std::string& out : {pairs, link}) {
        const CliRun r = Spawn({"table", "--type", "II", "--file", pairs, "--property", "11", "--out", out});
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find(kSameFile), std::string::npos) << r.err;
        EXPECT_EQ(ReadAll(pairs), "T\tP\n300\t1\n");
    }
    WriteFile(target, kOld);
    CliRun r = Spawn({"table", "--row", "T=300,1e400", "--col", "P=1", "--property", "11", "--out", target});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(ReadAll(target), kOld);
    r = Spawn({"table", "--row-series", "T=300,1e308,3", "--col", "P=1", "--property", "11", "--out", target});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(kSeriesNotFiniteMessage), std::string::npos);
    EXPECT_EQ(ReadAll(target), kOld);
    r = Spawn({"table", "--wavelength", "abc", "--row", "T=300", "--col", "P=1", "--property", "24", "--out", target});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(ReadAll(target), kOld);
    r = Spawn({"--wavelength", "abc"});
    EXPECT_EQ(r.code, 2);
    // A wavelength of 0 is a number: the table is made, n is "N/A" and counted.
    r = Spawn(
        {"table", "--wavelength", "0", "--row", "T=300,400", "--col", "P=1", "--property", "24", "--out", target});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, std::string(kTableDone) + "\n2 of 2 cells hold a message or are empty.\n");
    EXPECT_EQ(ReadAll(target).find("NAN"), std::string::npos);
    for (const std::string& e : Entries(folder)) EXPECT_NE(e.rfind(".kelvane-table-", 0), 0u) << e;
}

}  // namespace
