#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/line_reader.hpp"
#include "platform/text_encoding.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

TEST(TextEncoding, RoundTripsLatin1) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = latin1ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf8ToLatin1(utf8), all);
    EXPECT_EQ(latin1ToUtf8("R\xE9union"), "Réunion");
    EXPECT_EQ(utf8ToLatin1("€ œ"), "? ?");        // outside ISO 8859-1
    EXPECT_EQ(utf8ToLatin1("a\xC3"), "a?");       // a cut sequence
    EXPECT_EQ(utf8ToCp1252("€ œ é"), "\x80 \x9C \xE9");
    EXPECT_EQ(cp1252ToUtf8("\x80 \x9C \xE9 \x81"), "€ œ é \xC2\x81");
    EXPECT_FALSE(isValidUtf8("Syst\xE8me"));
    EXPECT_EQ(utf8Length("Réunion"), 7u);
}

TEST(LineReader, SplitsLinesAndBoundsThem) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
        std::vector<bool> tooLong;
    } cases[] = {
        {"a\r\nb\nc", {"a", "b", "c"}, {false, false, false}},
        {"a\r\n\r\n", {"a", ""}, {false, false}},
        {"x\ry\r\n", {"x\ry"}, {false}},
        {"abcdef\nabc\n", {"abcd", "abc"}, {true, false}},
        {"abcd\r\n", {"abcd"}, {false}},  // the carriage return does not count
        {"abc\r", {"abc\r"}, {false}},
        {"", {}, {}},
        {std::string("\0\xFF\n", 3), {std::string("\0\xFF", 2)}, {false}},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        test::writeFile(dir.file("f.txt"), c.bytes);
        LineReader reader(4);
        ASSERT_TRUE(reader.open(dir.file("f.txt")));
        std::vector<std::string> lines;
        std::vector<bool> tooLong;
        std::string line;
        while (reader.readLine(line)) {
            lines.push_back(line);
            tooLong.push_back(reader.lastLineTooLong());
        }
        EXPECT_EQ(lines, c.lines) << c.bytes;
        EXPECT_EQ(tooLong, c.tooLong) << c.bytes;
    }
}

TEST(LineReader, BlocksCutIntoTheLinesReadLineReads) {
    // Whatever the size of the blocks, their lines are those of readLine, with the same status,
    // and the line feeds are counted.
    const std::string cases[] = {
        "a\r\nb\nc",
        "a\r\n\r\n",
        "x\ry\r\n",
        "abcdef\nabc\n",
        "abcd\r\n",
        "abcd\r",
        "abc\r",
        "abcde\r\n",
        "abcd\rX\n",
        "ab\r\r\n\r\r",
        "\n\n\n",
        "x",
        "",
        "abcdefghijklmnopqrstuvwxyz\r\nq\nabcdefghij",
        "abc\rdefgh\r\r\nabcd\r\rz\n",
        std::string("\0\xFF\n", 3),
    };
    test::TempDir dir;
    for (const std::string& bytes : cases) {
        test::writeFile(dir.file("f.txt"), bytes);
        LineReader byLine(4);
        ASSERT_TRUE(byLine.open(dir.file("f.txt")));
        std::vector<std::pair<std::string, bool>> expected;
        for (std::string line; byLine.readLine(line);) expected.emplace_back(line, byLine.lastLineTooLong());
        for (const std::size_t size : {1, 2, 3, 5, 8, 1 << 16}) {
            SCOPED_TRACE(testing::PrintToString(bytes) + " in blocks of " + std::to_string(size));
            LineReader byBlock(4);
            ASSERT_TRUE(byBlock.open(dir.file("f.txt")));
            std::vector<std::pair<std::string, bool>> lines;
            std::size_t lineFeeds = 0;
            std::vector<std::string> blocks;
            for (std::string block; byBlock.readBlock(block, size);) blocks.push_back(block);
            for (std::size_t i = 0; i < blocks.size(); ++i) {
                EXPECT_TRUE(blocks[i].ends_with('\n') || i + 1 == blocks.size()) << "only the last block ends amid a line";
                lineFeeds += LineReader::splitLines(blocks[i], 4, [&](std::string_view line, bool tooLong) {
                    lines.emplace_back(std::string(line), tooLong);
                });
            }
            EXPECT_EQ(lines, expected);
            EXPECT_EQ(lineFeeds, static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
        }
    }
}

TEST(LineReader, BlocksMayEndLinesAtLoneCarriageReturns) {
    // Old Mac files end their lines with a carriage return alone; CR LF stays one line end.
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"a 1\rb 2\rc 3\r", {"a 1", "b 2", "c 3"}},
        {"a\rb", {"a", "b"}},
        {"a\r\nb\r\rc\n", {"a", "b", "", "c"}},
        {"\r\r", {"", ""}},
        {"abcdefgh\rxy\r", {"abcd", "xy"}},
    };
    test::TempDir dir;
    for (const auto& c : cases)
        for (const std::size_t size : {1, 2, 3, 1 << 16}) {
            SCOPED_TRACE(testing::PrintToString(c.bytes) + " in blocks of " + std::to_string(size));
            test::writeFile(dir.file("f.txt"), c.bytes);
            LineReader reader(4, /*loneCarriageReturnsEndLines=*/true);
            ASSERT_TRUE(reader.open(dir.file("f.txt")));
            std::vector<std::string> lines;
            for (std::string block; reader.readBlock(block, size);)
                LineReader::splitLines(block, 4, [&](std::string_view line, bool) { lines.emplace_back(line); });
            EXPECT_EQ(lines, c.lines);
        }
}

TEST(LineReader, KeepsMemoryBoundedOnAHugeLine) {
    test::TempDir dir;
    test::writeFile(dir.file("big.txt"), std::string(5'000'000, 'x') + "\nfin\n");
    LineReader reader(255);
    ASSERT_TRUE(reader.open(dir.file("big.txt")));
    std::string line;
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line.size(), 255u);
    EXPECT_TRUE(reader.lastLineTooLong());
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "fin");
    EXPECT_FALSE(reader.readLine(line));

    // Read by blocks, the huge line keeps its first characters and no more.
    ASSERT_TRUE(reader.open(dir.file("big.txt")));
    std::vector<std::pair<std::string, bool>> lines;
    for (std::string block; reader.readBlock(block, 1 << 16);) {
        EXPECT_LE(block.size(), 1u << 17);
        LineReader::splitLines(block, 255, [&](std::string_view l, bool tooLong) { lines.emplace_back(l, tooLong); });
    }
    const std::vector<std::pair<std::string, bool>> expected = {{std::string(255, 'x'), true}, {"fin", false}};
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(reader.open(dir.file("absent.txt")));
    EXPECT_FALSE(reader.open(dir.str())) << "a folder is not a readable file";
}

}  // namespace
}  // namespace zelvo
