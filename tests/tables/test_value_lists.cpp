// Comma-separated lists, the "x,y,z" series and the two-column reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/format.h"
#include "tables/value_lists.h"

using namespace kelvane;

namespace {

// Heap-allocated so that AddressSanitizer sees a write one past the end.
std::unique_ptr<ValueArray> NewArray() { return std::make_unique<ValueArray>(); }

std::string Numbers(int from, int to) {  // "from,from+1,...,to"
    std::string s;
    for (int i = from; i <= to; ++i) s += (i > from ? "," : "") + std::to_string(i);
    return s;
}

}  // namespace

TEST(ParseList, FieldsCommasAndLeadingNumbers) {
    auto v = NewArray();
    ListResult r = ParseList("1,2,3,", *v);  // a trailing comma adds a 0
    ASSERT_EQ(r.count, 4);
    EXPECT_EQ((*v)[0], 1);
    EXPECT_EQ((*v)[2], 3);
    EXPECT_EQ((*v)[3], 0);

    r = ParseList(",5", *v);  // a leading comma adds nothing
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ((*v)[0], 5);

    r = ParseList("1,,2.5e2", *v);  // empty inner field skipped, exponent read
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ((*v)[1], 250);

    r = ParseList(" 7.5 K, abc", *v);  // leading numbers; a field without one is 0
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ((*v)[0], 7.5);
    EXPECT_EQ((*v)[1], 0);
    EXPECT_FALSE(r.truncated);
}

TEST(ParseList, HoldsAtMostTheArraySize) {
    auto v = NewArray();
    ListResult r = ParseList(Numbers(1, kMaxValues), *v);
    EXPECT_EQ(r.count, kMaxValues);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ((*v)[kMaxValues - 1], kMaxValues);

    // One value more: the first 2048 are kept and nothing is written past the array.
    r = ParseList(Numbers(1, kMaxValues + 1), *v);
    EXPECT_EQ(r.count, kMaxValues);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ((*v)[kMaxValues - 1], kMaxValues);

    r = ParseList(Numbers(1, 3 * kMaxValues) + ",", *v);
    EXPECT_EQ(r.count, kMaxValues);
    EXPECT_TRUE(r.truncated);
}

TEST(MakeSeries, ValuesAreFormedAsIyPlusX) {
    EXPECT_EQ(MakeSeries("300,50,3").text, "300,350,400");
    // 0.1 + 0.1 + 0.1 by repeated addition would give 0.300000000000000044...
    EXPECT_EQ(MakeSeries("0.1,0.1,3").text, "0.1,0.2,0.3");
    EXPECT_EQ(MakeSeries("1,1,2.5").text, "1,2,3");  // ceil(z) values
    EXPECT_EQ(MakeSeries("5,-1,1").text, "5");
    EXPECT_EQ(MakeSeries("1,0.5,4").text, "1,1.5,2,2.5");
}

TEST(MakeSeries, Messages) {
    EXPECT_EQ(MakeSeries("300,50").text, "The series format should be \"x,y,z\".");
    EXPECT_EQ(MakeSeries("1,2,3,4").text, kSeriesFormatMessage);
    EXPECT_EQ(MakeSeries("").text, kSeriesFormatMessage);
    EXPECT_EQ(MakeSeries("300,50,0").text, "z should be integar more than 0.");
    EXPECT_EQ(MakeSeries("300,50,0.99").text, kSeriesCountMessage);
    EXPECT_EQ(MakeSeries("300,50,-3").text, kSeriesCountMessage);
}

TEST(MakeSeries, LargeCountIsCappedAtTheListSize) {
    const SeriesResult s = MakeSeries("0,1,1e9");
    EXPECT_TRUE(s.capped);
    auto v = NewArray();
    const ListResult list = ParseList(s.text, *v);
    EXPECT_EQ(list.count, kMaxValues);
    EXPECT_FALSE(list.truncated);
    EXPECT_EQ((*v)[kMaxValues - 1], kMaxValues - 1);

    EXPECT_FALSE(MakeSeries("0,1,2048").capped);
    EXPECT_TRUE(MakeSeries("0,1,2048.5").capped);
}

namespace {

struct Pairs {
    std::unique_ptr<ValueArray> x = NewArray(), y = NewArray();
    ColumnsResult Read(const std::string& text, int skip) {
        std::istringstream in(text);
        return ReadColumns(in, skip, *x, *y);
    }
};

}  // namespace

TEST(ReadColumns, SkipsHeaderAndIgnoresLinesWithoutLeadingField) {
    Pairs p;
    const ColumnsResult r = p.Read(
        "T\tP header\n"
        "300\t1\n"
        "no tab here\n"
        "\t5\t6\n"  // tab in the first position: ignored
        "\n"
        "400\t2.5\textra\tcolumns\n"
        "500\t3",  // last line without a line break
        1);
    ASSERT_TRUE(r.opened);
    ASSERT_EQ(r.count, 3);
    EXPECT_EQ((*p.x)[0], 300);
    EXPECT_EQ((*p.y)[0], 1);
    EXPECT_EQ((*p.x)[1], 400);
    EXPECT_EQ((*p.y)[1], 2.5);
    EXPECT_EQ((*p.x)[2], 500);
    EXPECT_EQ((*p.y)[2], 3);
}

TEST(ReadColumns, UnskippedHeaderAndBadNumbersRaiseConversionError) {
    Pairs p;
    EXPECT_THROW(p.Read("T\tP\n300\t1\n", 0), ConversionError);
    EXPECT_THROW(p.Read("x\n300\t1 MPa\n", 1), ConversionError);
    EXPECT_THROW(p.Read("x\n300\t\n", 1), ConversionError);  // empty second field
    // A negative skip count skips nothing.
    EXPECT_THROW(p.Read("T\tP\n300\t1\n", -2), ConversionError);
    EXPECT_EQ(p.Read("300\t1\n", -2).count, 1);
}

TEST(ReadColumns, CrlfLineEnds) {
    Pairs p;
    const ColumnsResult r = p.Read("T\tP\r\n300\t1\r\n400\t2\r\n", 1);
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ((*p.y)[0], 1);
    EXPECT_EQ((*p.x)[1], 400);
    EXPECT_EQ((*p.y)[1], 2);
}

TEST(ReadColumns, LongLinesAreOneRow) {
    // A comment column longer than one 2047-character read: its tail, which carries
    // tabs and numbers of its own, must not turn into a further pair.
    const std::string comment(3000, 'c');
    const std::string padding(2100, ' ');
    Pairs p;
    const ColumnsResult r = p.Read("x\n300\t1\t" + comment + padding + "\t7\t8\n" + padding + "400\t2\n", 1);
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ((*p.x)[0], 300);
    EXPECT_EQ((*p.y)[0], 1);
    EXPECT_EQ((*p.x)[1], 400);  // blanks before the first field are allowed
    EXPECT_EQ((*p.y)[1], 2);
}

TEST(ReadColumns, HoldsAtMostTheArraySize) {
    std::string text = "header\n";
    for (int i = 0; i < kMaxValues + 5; ++i) text += std::to_string(i) + "\t1\n";
    Pairs p;
    ColumnsResult r = p.Read(text, 1);
    EXPECT_EQ(r.count, kMaxValues);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ((*p.x)[kMaxValues - 1], kMaxValues - 1);

    r = p.Read(text.substr(0, text.find(std::to_string(kMaxValues) + "\t")), 1);
    EXPECT_EQ(r.count, kMaxValues);
    EXPECT_FALSE(r.truncated);
}

TEST(ReadColumns, NamedFileAndSkipCount) {
    const std::string name = ::testing::TempDir() + "kelvane_columns.txt";
    {
        std::ofstream f(name);
        f << "T (K)\tP (MPa)\n300\t1\n";
    }
    Pairs p;
    ColumnsResult r = ReadColumns(name, "1", *p.x, *p.y);
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(r.count, 1);
    EXPECT_THROW(ReadColumns(name, "0", *p.x, *p.y), ConversionError);  // header read as data
    EXPECT_THROW(ReadColumns(name, "1.5", *p.x, *p.y), ConversionError);
    EXPECT_THROW(ReadColumns(name, "", *p.x, *p.y), ConversionError);
    std::remove(name.c_str());

    r = ReadColumns(name, "1", *p.x, *p.y);  // the file is gone
    EXPECT_FALSE(r.opened);
    EXPECT_EQ(r.count, 0);
}
