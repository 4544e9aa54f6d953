// Pieces shared by the writers of the table types: the result of a table, the guard
// that leaves the destination as it was when a table ends by an error, and the tests
// of a cell's text.
#pragma once

#include <string>
#include <utility>

#include "core/format.h"
#include "tables/table_writer.h"

namespace kelvane::table_support {

inline bool ValidVariable(int v) { return v >= 0 && v < kVariableCount; }

inline TableResult Finished(TableResult::Status status, std::string message, int rows = 0) {
    TableResult r;
    r.status = status;
    r.message = std::move(message);
    r.rowsWritten = rows;
    return r;
}

// A table with cells whose number is not finite: no result, and not a success. The
// caller returns without closing its output, so the guard abandons it and an earlier
// file stays as it was.
inline TableResult NotFiniteResult(int notFinite, int rows, int cells, int cellsWithoutNumber) {
    TableResult r = Finished(TableResult::Status::NotFinite, NotFiniteMessage(notFinite, cells), 0);
    r.rowsTotal = rows;
    r.cellsTotal = cells;
    r.cellsWithoutNumber = cellsWithoutNumber;
    return r;
}

// Abandons the output on every way out of the writing loop that does not close it.
class CloseGuard {
public:
    explicit CloseGuard(TableOutput& out) : out_(&out) {}
    ~CloseGuard() {
        if (out_) out_->Abandon();
    }
    bool Close(std::string& error) {
        TableOutput* out = out_;
        out_ = nullptr;
        return out->Close(error);
    }
    CloseGuard(const CloseGuard&) = delete;
    CloseGuard& operator=(const CloseGuard&) = delete;

private:
    TableOutput* out_;
};

// A cell text that holds a number that is not finite.
inline bool NotFiniteText(const std::string& text) {
    return text.find("NAN") != std::string::npos || text.find("INF") != std::string::npos;
}

// A cell text that is a number (not a message, not empty).
inline bool NumberText(const std::string& text) {
    if (text.empty()) return false;
    try {
        ParseStrict(text);
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

}  // namespace kelvane::table_support
