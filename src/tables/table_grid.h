// A written table as a grid of cells for the table view: the title line apart, the
// heading as row 0, then one row per line of the file. The lines are found once;
// the cells of a line are split when asked for, so that a table of millions of
// cells costs no more than its text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class TableGrid {
public:
    TableGrid() = default;
    // `text` as the writer wrote it: a title line when `title`, the heading and the rows;
    // fields separated by tabs, or comma-separated (CSV) when `csv`.
    TableGrid(std::string text, bool csv, bool title);

    const std::string& Title() const { return title_; }
    bool Empty() const { return starts_.empty(); }
    int Rows() const { return static_cast<int>(starts_.size()); }
    int Columns() const { return columns_; }
    // The fields of row `row` (0 is the heading).
    std::vector<std::string> Row(int row) const;
    // The text of one cell; empty outside the grid or beyond the row's fields.
    std::string Cell(int row, int column) const;
    // The cells of rows top..bottom and columns left..right (inclusive) as
    // tab-separated lines, each ended by a line break, for a spreadsheet.
    std::string Tsv(int top, int left, int bottom, int right) const;
    // Every row, the title line first.
    std::string Tsv() const;

private:
    std::string_view Line(int row) const;

    std::string text_;
    bool csv_ = false;
    std::string title_;
    std::vector<size_t> starts_;  // offset of each row's first character
    int columns_ = 0;
    mutable int cachedRow_ = -1;
    mutable std::vector<std::string> cached_;
};

}  // namespace kelvane
