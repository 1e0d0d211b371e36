// The text data section reader that every text grid format shares: free and fixed-width values,
// node coordinates, precision codes, row end markers, value types, and where a section ends.

#include <gtest/gtest.h>

#include "grid_fixtures.hpp"
#include "grids/text_data.hpp"

namespace zelvo {
namespace {

using test::TempDir;
using Result = TextDataReader::Result;

struct ReadNode {
    Result result;
    std::vector<double> values;
    int code;
};

TEST(TextData, SectionsOfEveryKind) {
    const auto layout = [](int values, int type, int sep, int size, int codes, int coords, int rowEnd,
                           int columns) {
        TextDataLayout l;
        l.valuesNumber = values;
        l.valuesType = type;
        l.separated = sep;
        l.valueSize = size;
        l.codePrec = codes;
        l.nodeCoordWritten = coords;
        l.rowEndMarker = rowEnd;
        l.nColumns = columns;
        return l;
    };
    const struct {
        std::string name;
        std::string text;
        TextDataLayout layout;
        std::vector<ReadNode> nodes;  // then End or Invalid as the last entry
    } cases[] = {
        {"free format, any number of nodes per line",
         "1.5 -2\r\n\r\n  3e2\t4\n",
         layout(2, kValuesReal8, 1, 8, 0, 0, 0, 2),
         {{Result::Node, {1.5, -2}, 0}, {Result::Node, {300, 4}, 0}, {Result::End, {}, 0}}},
        {"codes and coordinates",
         "10.0 45.0 1.25 7\r\n10.5 45.0 2.5 -3\r\n",
         layout(1, kValuesReal8, 1, 8, 1, 1, 0, 2),
         {{Result::Node, {1.25}, 7}, {Result::Node, {2.5}, -3}, {Result::End, {}, 0}}},
        {"fixed width, glued values",
         "   1.5-2.25  3.0\r\n  4.0   5.0   6.0\r\n",
         layout(1, kValuesReal8, 0, 6, 0, 0, 0, 3),
         {{Result::Node, {1.5}, 0},
          {Result::Node, {-2.25}, 0},
          {Result::Node, {3}, 0},
          {Result::Node, {4}, 0},
          {Result::Node, {5}, 0},
          {Result::Node, {6}, 0},
          {Result::End, {}, 0}}},
        {"row end markers skip the rest of each row's line",
         "1 2 x\r\n3 4 y\r\n",
         layout(1, kValuesInteger4, 1, 2, 0, 0, 1, 2),
         {{Result::Node, {1}, 0}, {Result::Node, {2}, 0}, {Result::Node, {3}, 0}, {Result::Node, {4}, 0}}},
        {"INTEGER2 values wrap as a short does",
         "70000 -5\r\n",
         layout(1, kValuesInteger2, 1, 2, 0, 0, 0, 2),
         {{Result::Node, {4464}, 0}, {Result::Node, {-5}, 0}, {Result::End, {}, 0}}},
        {"REAL4 values are rounded to single precision",
         "0.1\r\n",
         layout(1, kValuesReal4, 1, 4, 0, 0, 0, 1),
         {{Result::Node, {static_cast<double>(0.1f)}, 0}, {Result::End, {}, 0}}},
        {"an integer that is a real stops the section",
         "1.5\r\n",
         layout(1, kValuesInteger4, 1, 4, 0, 0, 0, 1),
         {{Result::Node, {1}, 0}, {Result::Invalid, {}, 0}}},
        {"a node cut by the end of the file",
         "1 2 3",
         layout(2, kValuesReal8, 1, 8, 0, 0, 0, 2),
         {{Result::Node, {1, 2}, 0}, {Result::Invalid, {}, 0}}},
        {"a missing code",
         "1 2",
         layout(1, kValuesReal8, 1, 8, 1, 0, 0, 2),
         {{Result::Node, {1}, 2}, {Result::End, {}, 0}}},
        {"text that is no number",
         "1 abc",
         layout(1, kValuesReal8, 1, 8, 0, 0, 0, 2),
         {{Result::Node, {1}, 0}, {Result::Invalid, {}, 0}}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        test::writeFile(dir.file("d.txt"), c.text);
        TextSource source;
        ASSERT_TRUE(source.open(dir.file("d.txt")));
        TextDataReader reader(source, c.layout);
        for (std::size_t k = 0; k < c.nodes.size(); ++k) {
            std::vector<double> values;
            int code = -1;
            const Result result = reader.readNode(values, code);
            ASSERT_EQ(result, c.nodes[k].result) << c.name << ", node " << k;
            if (result != Result::Node) break;
            EXPECT_EQ(values, c.nodes[k].values) << c.name << ", node " << k;
            EXPECT_EQ(code, c.nodes[k].code) << c.name << ", node " << k;
        }
    }
}

// Header lines are read as fgets reads them into a buffer, line breaks as text mode gives them.
TEST(TextData, HeaderLinesThenData) {
    TempDir dir;
    test::writeFile(dir.file("h.txt"), "first line\r\nsecond\r\n" + std::string(300, 'x') + "\r\n1 2\r\n");
    TextSource source;
    ASSERT_TRUE(source.open(dir.file("h.txt")));
    std::string line;
    ASSERT_TRUE(source.readLine(line, 260));
    EXPECT_EQ(line, "first line\n");
    ASSERT_TRUE(source.readLine(line, 260));
    EXPECT_EQ(line, "second\n");
    ASSERT_TRUE(source.readLine(line, 260));
    EXPECT_EQ(line, std::string(259, 'x'));
    ASSERT_TRUE(source.readLine(line, 260));
    EXPECT_EQ(line, std::string(41, 'x') + "\n");
    TextDataLayout layout;
    layout.valuesNumber = 1;
    layout.valuesType = kValuesReal8;
    TextDataReader reader(source, layout);
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(reader.readNode(values, code), Result::Node);
    EXPECT_EQ(values, std::vector<double>{1});
    ASSERT_EQ(reader.readNode(values, code), Result::Node);
    EXPECT_EQ(values, std::vector<double>{2});
    EXPECT_EQ(reader.readNode(values, code), Result::End);
    EXPECT_FALSE(source.readLine(line, 260));
}

}  // namespace
}  // namespace zelvo
