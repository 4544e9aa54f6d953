#include "tables/table_grid.h"

#include <algorithm>

#include "tables/list_table.h"

namespace kelvane {

namespace {

// Tabs and line breaks inside a cell would break the tab-separated copy.
std::string Flat(std::string s) {
    std::replace_if(
        s.begin(), s.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return s;
}

}  // namespace

TableGrid::TableGrid(std::string text, bool csv, bool title) : text_(std::move(text)), csv_(csv) {
    size_t pos = 0;
    if (title) {
        const size_t end = text_.find('\n');
        title_ = text_.substr(0, end);
        if (end == std::string::npos) return;
        pos = end + 1;
    }
    // Lines end at a line break outside quotation marks (CSV quotes may hold one).
    bool quoted = false;
    int fields = 1;
    starts_.push_back(pos);
    for (size_t k = pos; k < text_.size(); ++k) {
        const char ch = text_[k];
        if (csv_ && ch == '"') {
            quoted = !quoted;
        } else if (!quoted && ch == '\n') {
            columns_ = std::max(columns_, fields);
            fields = 1;
            starts_.push_back(k + 1);
        } else if (!quoted && ch == (csv_ ? ',' : '\t')) {
            ++fields;
        }
    }
    columns_ = std::max(columns_, fields);
}

std::string_view TableGrid::Line(int row) const {
    const size_t begin = starts_[row];
    const size_t end = row + 1 < Rows() ? starts_[row + 1] - 1 : text_.size();
    std::string_view line(text_.data() + begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::vector<std::string> TableGrid::Row(int row) const {
    if (row < 0 || row >= Rows()) return {};
    if (row != cachedRow_) {
        cached_ = SplitFields(Line(row), csv_);
        cachedRow_ = row;
    }
    return cached_;
}

std::string TableGrid::Cell(int row, int column) const {
    if (row < 0 || row >= Rows() || column < 0) return {};
    if (row != cachedRow_) Row(row);
    return column < static_cast<int>(cached_.size()) ? cached_[column] : std::string();
}

std::string TableGrid::Tsv(int top, int left, int bottom, int right) const {
    std::string out;
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, Rows() - 1);
    right = std::min(right, Columns() - 1);
    for (int i = top; i <= bottom; ++i) {
        for (int j = left; j <= right; ++j) {
            if (j > left) out += '\t';
            out += Flat(Cell(i, j));
        }
        out += '\n';
    }
    return out;
}

std::string TableGrid::Tsv() const {
    std::string out = title_.empty() ? std::string() : Flat(title_) + "\n";
    return out + Tsv(0, 0, Rows() - 1, Columns() - 1);
}

}  // namespace kelvane
