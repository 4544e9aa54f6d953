// Comma-separated lists, the "x,y,z" series and the two-column reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/format.h"
#include "tables/value_lists.h"

using namespace kelvane;

namespace {

// Heap-allocated so that AddressSanitizer sees a write one past the end.
std::unique_ptr<ValueArray> NewArray() { return std::make_unique<ValueArray>(); }

std::vector<double> List(const std::string& text, bool* truncated = nullptr) {
    auto v = NewArray();
    const ListResult r = ParseList(text, *v);
    if (truncated) *truncated = r.truncated;
    return {v->begin(), v->begin() + r.count};
}

std::string Numbers(int n) {  // "1,2,...,n"
    std::string s = "1";
    for (int i = 2; i <= n; ++i) s += "," + std::to_string(i);
    return s;
}

}  // namespace

TEST(ParseList, FieldsCommasAndLeadingNumbers) {
    EXPECT_EQ(List("1,2,3,"), (std::vector<double>{1, 2, 3, 0}));  // trailing comma adds 0
    EXPECT_EQ(List(",5"), (std::vector<double>{5}));               // leading comma adds nothing
    EXPECT_EQ(List("1,,2.5e2"), (std::vector<double>{1, 250}));
    EXPECT_EQ(List(" 7.5 K, abc"), (std::vector<double>{7.5, 0}));  // no leading number: 0

    bool truncated = true;
    EXPECT_EQ(List(Numbers(kMaxValues), &truncated).back(), kMaxValues);
    EXPECT_FALSE(truncated);
    // Beyond the array: the first 2048 are kept and nothing is written past it.
    const std::vector<double> cut = List(Numbers(kMaxValues + 1), &truncated);
    EXPECT_EQ(cut.size(), static_cast<size_t>(kMaxValues));
    EXPECT_EQ(cut.back(), kMaxValues);
    EXPECT_TRUE(truncated);
}

TEST(MakeSeries, ValuesMessagesAndCap) {
    EXPECT_EQ(MakeSeries("300,50,3").text, "300,350,400");
    // i*y + x: repeated addition would give 0.30000000000000004 for the third value.
    EXPECT_EQ(MakeSeries("0.1,0.1,3").text, "0.1,0.2,0.3");
    EXPECT_EQ(MakeSeries("1,1,2.5").text, "1,2,3");  // ceil(z) values
    EXPECT_EQ(MakeSeries("300,50").text, "The series format should be \"x,y,z\".");
    EXPECT_EQ(MakeSeries("1,2,3,4").text, kSeriesFormatMessage);
    EXPECT_EQ(MakeSeries("300,50,0").text, "z should be integar more than 0.");
    EXPECT_EQ(MakeSeries("300,50,0.99").text, kSeriesCountMessage);

    const SeriesResult big = MakeSeries("0,1,1e9");
    EXPECT_TRUE(big.capped);
    const std::vector<double> values = List(big.text);
    EXPECT_EQ(values.size(), static_cast<size_t>(kMaxValues));
    EXPECT_EQ(values.back(), kMaxValues - 1);
    EXPECT_FALSE(MakeSeries("0,1,2048").capped);
}

namespace {

struct Pairs {
    std::unique_ptr<ValueArray> x = NewArray(), y = NewArray();
    int Read(const std::string& text, int skip, bool* truncated = nullptr) {
        std::istringstream in(text);
        const ColumnsResult r = ReadColumns(in, skip, *x, *y);
        if (truncated) *truncated = r.truncated;
        return r.count;
    }
};

}  // namespace

TEST(ReadColumns, LinesTabsAndLineEnds) {
    Pairs p;
    ASSERT_EQ(p.Read("T\tP header\n"
                     "300\t1\r\n"  // CRLF
                     "no tab here\n"
                     "\t5\t6\n"  // tab in the first position: ignored
                     "400\t2.5\textra\tcolumns\n"
                     "500\t3",  // no final line break
                     1),
              3);
    EXPECT_EQ((*p.y)[0], 1);
    EXPECT_EQ((*p.x)[1], 400);
    EXPECT_EQ((*p.y)[1], 2.5);
    EXPECT_EQ((*p.y)[2], 3);

    EXPECT_THROW(p.Read("T\tP\n300\t1\n", 0), ConversionError);   // header not skipped
    EXPECT_THROW(p.Read("T\tP\n300\t1\n", -2), ConversionError);  // negative: none skipped
    EXPECT_THROW(p.Read("x\n300\t1 MPa\n", 1), ConversionError);
    EXPECT_THROW(p.Read("x\n300\t\n", 1), ConversionError);  // empty second field
}

TEST(ReadColumns, LongLinesAreOneRow) {
    // A comment column longer than one 2047-character read: its tail, which carries
    // tabs and numbers of its own, must not turn into a further pair.
    const std::string comment(3000, 'c'), padding(2100, ' ');
    Pairs p;
    ASSERT_EQ(p.Read("x\n300\t1\t" + comment + padding + "\t7\t8\n" + padding + "400\t2\n", 1), 2);
    EXPECT_EQ((*p.x)[1], 400);  // blanks before the first field are allowed
    EXPECT_EQ((*p.y)[1], 2);
}

TEST(ReadColumns, HoldsAtMostTheArraySize) {
    std::string text;
    for (int i = 0; i < kMaxValues; ++i) text += std::to_string(i) + "\t1\n";
    Pairs p;
    bool truncated = true;
    EXPECT_EQ(p.Read(text, 0, &truncated), kMaxValues);
    EXPECT_FALSE(truncated);
    EXPECT_EQ(p.Read(text + "1\t1\n", 0, &truncated), kMaxValues);
    EXPECT_TRUE(truncated);
    EXPECT_EQ((*p.x)[kMaxValues - 1], kMaxValues - 1);
}

TEST(ReadColumns, NamedFileAndSkipCount) {
    const std::string name = ::testing::TempDir() + "kelvane_columns.txt";
    std::ofstream(name) << "T (K)\tP (MPa)\n300\t1\n";
    Pairs p;
    EXPECT_EQ(ReadColumns(name, "1", *p.x, *p.y).count, 1);
    EXPECT_THROW(ReadColumns(name, "1.5", *p.x, *p.y), ConversionError);
    EXPECT_THROW(ReadColumns(name, "", *p.x, *p.y), ConversionError);
    std::remove(name.c_str());
    EXPECT_FALSE(ReadColumns(name, "1", *p.x, *p.y).opened);
}
