// The independent values of a table: comma-separated lists, the "x,y,z" arithmetic
// series generator and the two-column text file of TYPE II tables.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace kelvane {

// A table axis holds at most this many values (and a two-column file this many pairs).
constexpr int kMaxValues = 2048;
using ValueArray = std::array<double, kMaxValues>;

struct ListResult {
    int count = 0;           // values stored from index 0
    bool truncated = false;  // the text held more than kMaxValues values
};

// Comma-separated list: every field before a comma that is not empty adds its leading
// number (0 when it has none); the text after the last comma always adds one value,
// even when empty. Values beyond kMaxValues are dropped and reported as truncated.
ListResult ParseList(std::string_view text, ValueArray& values);

inline constexpr const char* kSeriesFormatMessage = "The series format should be \"x,y,z\".";
inline constexpr const char* kSeriesCountMessage = "z should be integar more than 0.";
inline constexpr const char* kSeriesNotFiniteMessage = "The series gives a value that is not a finite number.";

struct SeriesResult {
    std::string text;     // the list, or one of the two messages above
    bool capped = false;  // z asked for more than kMaxValues values
};

// "x,y,z" -> "x,x+y,...": ceil(z) values, the i-th formed as i*y + x and written with
// 15 significant digits; at most kMaxValues values.
SeriesResult MakeSeries(std::string_view text);

struct ColumnsResult {
    bool opened = false;     // false: the file could not be read (nothing was stored)
    int count = 0;           // pairs stored from index 0
    bool truncated = false;  // the file held more than kMaxValues pairs
    // Why the file gave no pairs: it could not be opened or read completely, it is a
    // folder, empty, binary or holds no tab-separated pair. Empty when pairs were read.
    std::string problem;
};

// A text with the bytes that are not printable (control characters, DEL, bytes that
// are not part of a UTF-8 character) written as \xHH.
std::string EscapedText(std::string_view text);

// Two-column text: `skip` leading lines are discarded (none when skip <= 0); of every
// further line the field before the first tab goes to `first` and the field after it
// (up to the next tab or the line end) to `second`, both converted strictly
// (ConversionError on a bad number). A line without a tab after its first character is
// ignored. A line is one row whatever its length.
ColumnsResult ReadColumns(std::istream& in, int skip, ValueArray& first, ValueArray& second);

// Largest two-column file read: far above kMaxValues lines of any sensible length.
constexpr uint64_t kMaxColumnsFileBytes = uint64_t{64} << 20;

// Reads `fileName` once, whole, before anything else (a file that cannot be read
// completely, a folder, an empty or a binary file, or one of more than
// kMaxColumnsFileBytes gives no pairs and says so in `problem`), converts `skipText`
// strictly to an integer (ConversionError) and reads the pairs as above.
ColumnsResult ReadColumns(const std::string& fileName, std::string_view skipText, ValueArray& first,
                          ValueArray& second);

}  // namespace kelvane
