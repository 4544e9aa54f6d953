#include "tables/table_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "core/format.h"
#include "tables/table_cells.h"
#include "tables/table_support.h"
#include "tables/value_lists.h"

namespace kelvane {

namespace {

using table_support::CloseGuard;
using table_support::Finished;
using table_support::NotFiniteText;
using table_support::NumberText;
using table_support::ValidVariable;

// The folder part of a path, with its final slash ("" for the current folder).
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The name a chain of symbolic links ends at when that name does not exist (a dangling
// link): the file to create. A name that is no link is itself. False, with errno set,
// when a link cannot be read or the chain is too long (a loop).
bool DanglingTarget(const std::string& name, std::string& target) {
    target = name;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat link {};
        if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return true;
        std::string to(link.st_size > 0 ? static_cast<size_t>(link.st_size) + 1 : 256, '\0');
        for (;;) {
            const ssize_t n = ::readlink(target.c_str(), to.data(), to.size());
            if (n < 0) return false;
            if (static_cast<size_t>(n) < to.size()) {
                to.resize(static_cast<size_t>(n));
                break;
            }
            to.resize(2 * to.size());
        }
        target = !to.empty() && to.front() == '/' ? to : FolderOf(target) + to;
    }
    errno = ELOOP;
    return false;
}

}  // namespace

std::vector<std::string> PropertyItems(bool densityMode) {
    std::vector<std::string> items(TablePropertyCount());
    for (int q = 0; q < static_cast<int>(items.size()); ++q) items[q] = TableRow(q)->tableItem;
    if (!densityMode) items[kVarRho - 1] = "Specific Volume: V";
    return items;
}

std::string PropertyUnit(const MainForm& main, int q) { return main.UnitText(*TableRow(q)); }

bool IsTemperatureOnlyProperty(int q) { return (q >= 2 && q <= 5) || q == 16; }

const char* VariableName(int v) {
    static const char* const names[kVariableCount] = {"T", "P", "rho", "h", "s"};
    return names[v];
}

std::string VariableUnit(const MainForm& main, int v) {
    switch (v) {
        case kVarT: return main.temperatureLabels[main.unitT];
        case kVarP: return main.pressureLabels[main.unitP];
        case kVarH: return main.Labelhunit.text;
        case kVarS: return main.Labelsunit.text;
        default: return main.DensityUnitLabel();
    }
}

EditField& VariableField(MainForm& main, int v) {
    switch (v) {
        case kVarT: return main.EditT;
        case kVarP: return main.EditP;
        case kVarH: return main.Edith;
        case kVarS: return main.Edits;
        default: return main.EditRho;
    }
}

std::string NotFiniteMessage(int notFinite, int total) {
    return "The table was not written: " + std::to_string(notFinite) + " of " + std::to_string(total) +
           " cells hold a number that is not finite (NAN or INF); an earlier file is unchanged.";
}

std::string CellCountLine(int withoutNumber, int total) {
    return std::to_string(withoutNumber) + " of " + std::to_string(total) +
           (total == 1 ? " cell holds" : " cells hold") + " a message or " + (total == 1 ? "is" : "are") + " empty.";
}

FileTableOutput::~FileTableOutput() { Abandon(); }

std::string FileTableOutput::WriteError() const {
    return "The table file \"" + fileName_ + "\" could not be written (" + std::strerror(errno_) +
           "); the earlier file is unchanged.";
}

bool FileTableOutput::Open(std::string& error) {
    Abandon();
    buffer_.clear();
    errno_ = 0;
    target_.clear();
    auto cannotCreate = [&](int e) {
        error = "The table file \"" + fileName_ + "\" cannot be created (" + std::strerror(e) + ").";
        return false;
    };
    // The file the name stands for, through symbolic links: the temporary file goes into
    // the real file's folder and replaces the real file, so that a link stays a link.
    struct stat target {};
    const bool exists = ::stat(fileName_.c_str(), &target) == 0;
    if (!exists && errno != ENOENT) return cannotCreate(errno);
    if (exists && S_ISDIR(target.st_mode)) {
        error = "The table file \"" + fileName_ + "\" cannot be created: it is a folder.";
        return false;
    }
    bool direct = exists && !S_ISREG(target.st_mode);  // a device or a pipe, never replaced
    if (exists && !direct) {
        // A regular file: its own path. A file that has no path any more (one open on
        // a descriptor named through /proc that was deleted meanwhile) can only be
        // written in place.
        struct stat real {};
        if (char* path = ::realpath(fileName_.c_str(), nullptr)) {
            target_ = path;
            std::free(path);
        }
        if (target_.empty() || ::stat(target_.c_str(), &real) != 0 || real.st_dev != target.st_dev ||
            real.st_ino != target.st_ino)
            direct = true;
    } else if (!exists && !DanglingTarget(fileName_, target_)) {
        return cannotCreate(errno);
    }
    if (direct) {
        target_.clear();
        fd_ = ::open(fileName_.c_str(), O_WRONLY | O_CLOEXEC | (S_ISREG(target.st_mode) ? O_TRUNC : 0));
    } else {
        std::string name = FolderOf(target_) + ".kelvane-table-XXXXXX";
        fd_ = ::mkstemp(name.data());
        if (fd_ >= 0) {
            temporary_ = name;
            // The new file gets the permissions of the one it replaces, or those a newly
            // created file gets.
            mode_t mode = target.st_mode & 07777;
            if (!exists) {
                const mode_t mask = ::umask(0);
                ::umask(mask);
                mode = 0666 & ~mask;
            }
            ::fchmod(fd_, mode);
        }
    }
    if (fd_ < 0) return cannotCreate(errno);
    return true;
}

bool FileTableOutput::Flush(std::string& error) {
    size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            errno_ = n < 0 ? errno : EIO;
            error = WriteError();
            return false;
        }
        done += static_cast<size_t>(n);
    }
    buffer_.clear();
    return true;
}

bool FileTableOutput::Write(std::string_view text, std::string& error) {
    if (fd_ < 0) {
        error = "The table file \"" + fileName_ + "\" is not open.";
        return false;
    }
    buffer_.append(text);
    // Rows are stored in blocks of this size: a failed write (a full disk) is noticed
    // within one block of the row that caused it.
    constexpr size_t kBlock = 1 << 16;
    return buffer_.size() < kBlock || Flush(error);
}

bool FileTableOutput::Close(std::string& error) {
    if (fd_ < 0) {
        error = "The table file \"" + fileName_ + "\" is not open.";
        return false;
    }
    bool ok = Flush(error);
    if (ok && !temporary_.empty() && ::fsync(fd_) != 0) {
        errno_ = errno;
        error = WriteError();
        ok = false;
    }
    if (::close(fd_) != 0 && ok) {
        errno_ = errno;
        error = WriteError();
        ok = false;
    }
    fd_ = -1;
    if (!ok) {
        Abandon();
        return false;
    }
    if (!temporary_.empty()) {
        if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
            errno_ = errno;
            error = WriteError();
            Abandon();
            return false;
        }
        temporary_.clear();
    }
    return true;
}

void FileTableOutput::Abandon() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    buffer_.clear();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool FileTableOutput::IsFile(const std::string& path) const {
    struct stat a {
    }, b{};
    return ::stat(fileName_.c_str(), &a) == 0 && ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

TableResult MakeTable(MainForm& main, const TableSettings& settings, TableOutput& output) {
    using Status = TableResult::Status;
    int r = settings.rowVariable;
    int c = settings.columnVariable;
    const int q = settings.property;

    // Validation: the first failing test wins. An axis without a selected entry asks
    // for the selection like an axis without T.
    // Isobars in h or s pair P with one of them; every other table pairs T with P or rho.
    const bool isobar = ValidVariable(r) && ValidVariable(c) && (r >= kVarH || c >= kVarH);
    if (isobar) {
        if (!((r == kVarP && c >= kVarH) || (c == kVarP && r >= kVarH)))
            return Finished(Status::Invalid, kNeedPressureWithEnergy);
    } else {
        if (!ValidVariable(r) || !ValidVariable(c) || r * c != 0)
            return Finished(Status::Invalid, kNeedTemperatureAndOther);
        if (r == c) return Finished(Status::Invalid, kNeedTemperatureOnce);
    }
    if (q < 0 || q >= TablePropertyCount()) return Finished(Status::Invalid, kNeedProperty);
    auto isProperty = [q](int v) {
        return (v >= kVarP && v <= kVarRho && v - 1 == q) || (v == kVarH && TableRow(q)->field == &MainForm::EditH);
    };
    if (isProperty(r) || isProperty(c)) return Finished(Status::Invalid, kPropertyIsVariable);

    // One value array per variable; the table uses those of its two variables.
    auto values = std::make_unique<ValueArray[]>(kVariableCount);
    int nR = 0, nC = 0;
    bool rowsCut = false, columnsCut = false, pairsCut = false;
    if (settings.type == 1) {
        const ColumnsResult read = ReadColumns(settings.columnsFile, settings.skipLines, values[r], values[c]);
        if (!read.opened) return Finished(Status::OutputFailed, read.problem);
        if (read.count == 0 && !read.problem.empty())
            return Finished(Status::Invalid, std::string(kNoValues) + " " + read.problem);
        nR = nC = read.count;
        pairsCut = read.truncated;
    } else {
        if (!settings.rowList.empty()) {
            const ListResult list = ParseList(settings.rowList, values[r]);
            nR = list.count;
            rowsCut = list.truncated;
        }
        if (!settings.columnList.empty()) {
            const ListResult list = ParseList(settings.columnList, values[c]);
            nC = list.count;
            columnsCut = list.truncated;
        }
        if (IsTemperatureOnlyProperty(q) && !isobar) {
            // One pressure column, the critical pressure in the selected unit.
            main.RadioGroupVar.index = 0;
            main.RadioGroupVarClick();
            main.ButtonSetCpClick();
            const double criticalPressure = ParseStrict(main.EditP.text);
            if (r == kVarT) {
                c = kVarP;
                nC = 1;
                columnsCut = false;
            } else {
                r = kVarP;
                nR = 1;
                rowsCut = false;
            }
            values[kVarP][0] = criticalPressure;
        }
    }
    if (nR * nC == 0) return Finished(Status::Invalid, kNoValues);

    // A value the main window could not take back from its field (one beyond the range
    // of numbers) ends the table before anything is written, as the window's strict
    // conversion would.
    for (int i = 0; i < nR; ++i) ParseStrict(FormatDisplay(values[r][i]));
    for (int j = 0; j < nC; ++j) ParseStrict(FormatDisplay(values[c][j]));

    if (!output.Choose()) return Finished(Status::Cancelled, "");
    if (settings.type == 1 && output.IsFile(settings.columnsFile)) return Finished(Status::Invalid, kSameFile);

    // The main window's input pair: P with h or s for an isobar, else T with P or rho.
    const int pair = !isobar ? 0 : (r == kVarH || c == kVarH) ? 1 : 2;
    if (main.RadioGroupPair.index != pair) {
        main.RadioGroupPair.index = pair;
        main.RadioGroupPairClick();
    }
    const int selector = isobar ? 0 : r + c - 1;  // 0: pressure given, 1: density given
    if (main.RadioGroupVar.index != selector) {
        main.RadioGroupVar.index = selector;
        main.RadioGroupVarClick();
    }
    main.EditMes.text.clear();

    std::string error;
    if (!output.Open(error)) return Finished(Status::OutputFailed, error);
    CloseGuard guard(output);

    // Everything the cells need is taken from the main window now: a change of fluid,
    // unit or input there while the table is made does not reach this table.
    CellRecipe recipe;
    recipe.fluid = &main.SelectedFluid();
    const int fluidItem = main.RadioGroupMatter.index;
    recipe.units = main.Units();
    recipe.units.precise = false;  // cells hold the window's display texts
    recipe.rowVariable = r;
    recipe.columnVariable = c;
    recipe.property = TableRow(q);
    recipe.wavelength = main.Wavelength();

    const std::string item = PropertyItems(main.densityMode)[q];
    const std::string unit = PropertyUnit(main, q);
    if (!output.Write(item + " (" + unit + ") of " + recipe.fluid->constants.name + "\n", error))
        return Finished(Status::OutputFailed, error);

    const ValueArray& x = values[r];
    const ValueArray& y = values[c];
    std::string heading = std::string(VariableName(r)) + " (" + VariableUnit(main, r) + ")";
    if (settings.type == 1) {
        heading +=
            std::string("\t") + VariableName(c) + " (" + VariableUnit(main, c) + ")\t" + item + " (" + unit + ")";
    } else {
        heading += std::string(" / ") + VariableName(c) + " (" + VariableUnit(main, c) + ")";
        for (int j = 0; j < nC; ++j) heading += "\t" + FormatFile(y[j]);
    }
    if (!output.Write(heading, error)) return Finished(Status::OutputFailed, error);

    const bool pairs = settings.type == 1;
    const int total = pairs ? nR : nR * nC;
    int done = 0, rows = 0, withoutNumber = 0, notFinite = 0;
    bool stopped = false, writeFailed = false;
    std::string row;
    // The last cell handed over, so that the main window can show it at the end.
    std::optional<std::pair<double, double>> lastValues;
    Cell last;
    output.Started(total);

    auto columnsOf = [&](int) { return pairs ? 1 : nC; };
    auto valueOf = [&](int i, int j) { return std::make_pair(x[i], pairs ? y[i] : y[j]); };
    auto take = [&](int i, int j, const Cell& cell) {
        const int n = columnsOf(i);
        if (j == 0) row = "\n" + FormatFile(x[i]) + (pairs ? "\t" + FormatFile(y[i]) : std::string());
        row += "\t" + cell.text;
        if (NotFiniteText(cell.text)) ++notFinite;
        if (!NumberText(cell.text)) ++withoutNumber;
        lastValues = valueOf(i, j);
        last = cell;
        const bool go = output.CellFinished(++done, total, cell.input, cell.result);
        if (j + 1 == n) {
            if (!output.Write(row, error)) {
                writeFailed = true;  // stop at the first write that fails
                return false;
            }
            ++rows;
        }
        if (!go) {
            stopped = true;  // an incomplete row is not written
            return false;
        }
        return true;
    };

    // The main window shows the inputs and results of the last cell computed, as if
    // it had been calculated there.
    auto showLast = [&] {
        if (!lastValues) return;
        VariableField(main, r).text = FormatDisplay(lastValues->first);
        VariableField(main, c).text = FormatDisplay(lastValues->second);
        if (last.result.state.inputVar == 1) {
            main.EditP.text.clear();
        } else {
            main.EditRho.text.clear();
            if (last.result.state.inputVar >= 2) main.EditT.text.clear();
        }
        ++main.calculations;
        main.ShowResult(last.result, *recipe.fluid, fluidItem);
    };
    try {
        ComputeCells(recipe, nR, columnsOf, valueOf, settings.jobs, take);
    } catch (const ConversionError&) {
        showLast();
        throw;
    }
    showLast();

    if (writeFailed) return Finished(Status::OutputFailed, error, 0);  // the guard abandons the file
    if (!stopped && notFinite > 0) return table_support::NotFiniteResult(notFinite, nR, total, withoutNumber);
    if (!guard.Close(error)) return Finished(Status::OutputFailed, error, 0);
    TableResult result;
    if (stopped) {
        result = Finished(Status::Stopped,
                          "The table was stopped after " + std::to_string(rows) + " of " + std::to_string(nR) +
                              " rows; those rows are in the file.",
                          rows);
    } else {
        std::string message = kTableDone;
        if (rowsCut) message += " Only the first 2048 values of the ROW list were used.";
        if (columnsCut) message += " Only the first 2048 values of the COLUMN list were used.";
        if (pairsCut) message += " Only the first 2048 pairs of the file were used.";
        message += "\n" + CellCountLine(withoutNumber, total);
        result = Finished(Status::Written, message, rows);
    }
    result.rowsTotal = nR;
    result.cellsTotal = total;
    result.cellsWithoutNumber = withoutNumber;
    return result;
}

}  // namespace kelvane
