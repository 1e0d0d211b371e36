// The native formats: header tokens, the header line of a text grid, the binary header written
// and read back, binary files of version 2, and binary files that do not hold what they announce.

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "grid_fixtures.hpp"
#include "grids/header_fields.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(ReadToken, KindsSeparatorsAndMessages) {
    const struct {
        std::string line;
        int start;
        TokenKind kind;
        int result;
        std::string token;
        int position;
    } cases[] = {
        {"12 34", 0, TokenKind::Real, 0, "12", 3},
        {"12 34", 3, TokenKind::Real, 2, "34", 6},
        {"12 34\n", 3, TokenKind::Real, 2, "34", 7},
        {"  -1.5 x", 0, TokenKind::Real, 0, "-1.5", 7},
        {"1.2.3 4", 0, TokenKind::Real, 0, "1.2.3", 6},
        {"5- 4", 0, TokenKind::Real, 0, "5-", 3},
        {"1e-1 2", 0, TokenKind::Real, -1, "Réel attendu dans l'en-tête peu avant la position 5", -1},
        {"+1 2", 0, TokenKind::Real, -1, "Réel attendu dans l'en-tête peu avant la position 3", -1},
        {"4 12a 3\n", 2, TokenKind::Integer, -1, "Entier attendu dans : \n4 12a 3\n(peu avant la position 6", -1},
        {"4 1.5 3", 2, TokenKind::Integer, -1, "Entier attendu dans : \n4 1.5 3\n(peu avant la position 6", -1},
        {"-12 3", 0, TokenKind::Integer, 0, "-12", 4},
        {"12.5abc d", 0, TokenKind::RealForce, 0, "12.5", 4},
        {"-3x", 0, TokenKind::IntegerForce, 0, "-3", 2},
        {"word next", 0, TokenKind::Text, 0, "word", 5},
        {"word\n", 0, TokenKind::Text, 2, "word", 6},
        {"", 0, TokenKind::Real, 2, "", 1},
    };
    for (const auto& c : cases) {
        int position = c.start;
        std::string token;
        EXPECT_EQ(CGrille::readToken(c.line, position, token, c.kind), c.result) << c.line;
        EXPECT_EQ(token, c.token) << c.line;
        EXPECT_EQ(position, c.position) << c.line;
    }
}

TEST(TextHeader, FieldsDescriptionAndFailures) {
    const struct {
        std::string line;
        int result;
        std::string message;
        int columns, lines, layout, values, codes;
        std::vector<double> translation;
        std::string desc;
    } cases[] = {
        {"0 2 0 1 1 1 4 0 1 0 0\n", -10, "", 3, 2, 4, 1, 0, {0}, "UNDEFINED"},
        {"0 2 0 1 1 1 4 0 1 0 0 Test grid  final\n", -10, "", 3, 2, 4, 1, 0, {0}, "Test grid final"},
        {"0 2 0 1 1 1 4 0 1 0 0 Test grid \n", -10, "", 3, 2, 4, 1, 0, {0}, "Test grid"},
        {"-5.5 10 41 52 0.1 0.1 2 0 3 1 0 0 0\n", -10, "", 156, 111, 2, 3, 1, {0, 0, 0}, "UNDEFINED"},
        {"-5.5 10 41 52 0.1 0.1 2 0 1 0 0 quasi-geoid\n", -10, "", 156, 111, 2, 1, 0, {0}, "quasi-geoid"},
        {"0 2 0 1 1 1 4 0 3 0 1.5 0 -2\n", -10, "", 3, 2, 4, 3, 0, {1.5, 0, -2}, "UNDEFINED"},
        {"0 2 0 1 1 1 4 0 1 0 0 G\xE9oide\n", -10, "", 3, 2, 4, 1, 0, {0}, "Géoide"},
        {"0 2 0 1 1 1 4 0 1 0\n", 21, "", 0, 0, 4, 1, 0, {0}, "UNDEFINED"},
        {"0 2 0 1 1 1 4 0 3 0 0 0\n", 25, "", 0, 0, 4, 3, 0, {0, 0, 0}, "UNDEFINED"},
        {"0 2 0\n", 7, "", 0, 0, 0, 0, 0, {0}, "UNDEFINED"},
        {"", 1, "", 0, 0, 0, 0, 0, {0}, "UNDEFINED"},
        {"0 2 0 1 1e-1 1 4 0 1 0 0\n",
         -1,
         "Réel attendu dans l'en-tête peu avant la position 13",
         0,
         0,
         0,
         0,
         0,
         {0},
         "UNDEFINED"},
        {"0 2 0 1 1 1 4 0 1 0 x\n",
         -1,
         "Réel attendu dans l'en-tête peu avant la position 23",
         0,
         0,
         4,
         1,
         0,
         {0},
         "UNDEFINED"},
        {"0 2 0 1 1 1 S 0 1 0 0\n",
         -1,
         "Entier attendu dans : \n0 2 0 1 1 1 S 0 1 0 0\n(peu avant la position 14",
         0,
         0,
         0,
         0,
         0,
         {0},
         "UNDEFINED"},
        {"0 2 0 1 1 1 4 0 0 0 0\n",
         -1,
         "g :\nNombre de valeurs par nœud non valide : 0",
         0,
         0,
         4,
         0,
         0,
         {0},
         "UNDEFINED"},
        {"0 2 0 1 1 1 4 0 2000000000 0 0\n",
         -1,
         "g :\nNombre de valeurs par nœud non valide : 2000000000",
         0,
         0,
         4,
         2000000000,
         0,
         {0},
         "UNDEFINED"},
    };
    for (const auto& c : cases) {
        CGrille grid;
        grid.header.NAME = "g";
        std::string message;
        ASSERT_EQ(header_fields::readTextHeaderLine(grid.header, c.line, message), c.result) << c.line;
        EXPECT_EQ(message, c.message) << c.line;
        EXPECT_EQ(grid.header.LAYOUT, c.layout) << c.line;
        EXPECT_EQ(grid.header.VALUES_NUMBER, c.values) << c.line;
        if (c.result != -10) continue;
        EXPECT_EQ(grid.header.N_COLUMNS, c.columns) << c.line;
        EXPECT_EQ(grid.header.N_LINES, c.lines) << c.line;
        EXPECT_EQ(grid.header.N_NODES, c.columns * c.lines) << c.line;
        EXPECT_EQ(grid.header.CODE_PREC, c.codes) << c.line;
        EXPECT_EQ(grid.header.TRANSLATION, c.translation) << c.line;
        EXPECT_EQ(grid.header.DESC, c.desc) << c.line;
        EXPECT_EQ(grid.header.VALUES_TYPE, kValuesReal8);
        EXPECT_EQ(grid.header.valueSize, 8);
        EXPECT_EQ(grid.header.NODE_COORD_UNIT, kGridUnitDegrees);
        EXPECT_EQ(grid.header.VALUES_UNIT, kGridUnitMeters);
    }
}

// Open messages of text grids whose header line is not usable.
TEST(TextHeader, OpenMessages) {
    TempDir dir;
    const struct {
        std::string header;
        std::string message;  // %s is the file name
    } cases[] = {
        {"0 2 0 1 1 1 4 0 1 0", "Problème dans l'en-tête de\n%s (position 21)"},
        {"0 2 0 1 1e-1 1 4 0 1 0 0", "Réel attendu dans l'en-tête peu avant la position 13"},
        {"0 2 0 1 1 1 4 0 1 0 0 " + std::string(300 - 22, 'x'),
         "%s :\nLa ligne d'en-tête est trop longue (258 char max)"},
        {"0 2 0 1 1 1 4 0 1 0 0 " + std::string(258 - 22, 'x'),
         "%s :\nLa ligne d'en-tête est trop longue (258 char max)"},
    };
    for (const auto& c : cases) {
        const std::string path = test::writeTextGrid(dir, "h", c.header, test::kSmallData);
        std::string message;
        test::openGrid(path, message, 2);
        std::string expected = c.message;
        if (const auto at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, path);
        EXPECT_EQ(message, expected) << c.header.substr(0, 40);
    }
    // 257 characters and the line break fit.
    const std::string path = test::writeTextGrid(
        dir, "fits", "0 2 0 1 1 1 4 0 1 0 0 " + std::string(257 - 22, 'x'), test::kSmallData);
    std::string message;
    const CGrille grid = test::openGrid(path, message, 2);
    EXPECT_EQ(message, "");
    EXPECT_EQ(grid.header.DESC, std::string(257 - 22, 'x'));
}

// Little-endian fields of a binary grid file, written by hand.
class Bytes {
public:
    Bytes& raw(const std::string& s) {
        data += s;
        return *this;
    }
    Bytes& i32(std::int32_t v) {
        for (int k = 0; k < 4; ++k)
            data.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * k)) & 0xFF));
        return *this;
    }
    Bytes& f64(double v) {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        for (int k = 0; k < 8; ++k) data.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
        return *this;
    }
    std::string data;
};

// A version-2 file (no value type: REAL8) of the 3 × 2 grid, layout SW2E2N, one value per node.
std::string versionTwoFile(const std::vector<double>& nodes, std::int32_t valuesNumber = 1,
                           std::int32_t descLength = 4) {
    Bytes header;
    header.raw(std::string("GRID\0", 5)).i32(2).i32(0);
    for (double v : {0.0, 2.0, 0.0, 1.0, 1.0, 1.0}) header.f64(v);
    header.i32(4).i32(0).i32(valuesNumber).i32(0);
    for (int k = 0; k < valuesNumber && k < 8; ++k) header.f64(0.25);
    header.i32(descLength).raw("v2 ");
    header.data.push_back('\xE9');
    std::string offset = Bytes().i32(static_cast<std::int32_t>(header.data.size())).data;
    header.data.replace(9, 4, offset);
    for (double v : nodes) header.f64(v);
    return header.data;
}

TEST(BinaryFormat, VersionTwoIsReadAsReal8) {
    TempDir dir;
    test::writeFile(dir.file("v2.bin"), versionTwoFile({0, 1, 2, 10, 11, 12}));
    test::writeFile(dir.file("v2.xml"), test::xmlSideFile({{"INTERPOLATION_TYPE", "BILINEAR"}}));
    std::string message;
    const CGrille grid = test::openGrid(dir.file("v2.bin"), message);
    ASSERT_EQ(message, "");
    EXPECT_EQ(grid.header.VALUES_TYPE, kValuesReal8);
    EXPECT_EQ(grid.header.valueSize, 8);
    EXPECT_EQ(grid.header.DESC, "v2 é");
    EXPECT_EQ(grid.header.TRANSLATION, std::vector<double>{0.25});
    EXPECT_EQ(grid.header.N_COLUMNS, 3);
    std::vector<double> values;
    int code = 0;
    grid.nodeValues(2, 1, values, code);
    EXPECT_EQ(values, std::vector<double>{12});
    ASSERT_EQ(grid.interpolate(3, {0.5, 0.5, 0}, values, code), 0);
    EXPECT_DOUBLE_EQ(values[0], 5.5 + 0.25);
}

// Binary files whose header or data are cut, or announce more than they hold: refused with a
// message, nothing read past the end, nothing allocated for what is not there.
TEST(BinaryFormat, FilesThatDoNotHoldWhatTheyAnnounce) {
    const std::string full = versionTwoFile({0, 1, 2, 10, 11, 12});
    const struct {
        std::string name;
        std::string bytes;
        std::string message;  // %s: the file name
    } cases[] = {
        {"data cut", full.substr(0, full.size() - 3),
         "%s :\nLe fichier est plus court que ne l'annonce son en-tête (" + std::to_string(full.size()) +
             " octets attendus, " + std::to_string(full.size() - 3) + " présents)"},
        {"header cut", full.substr(0, 40), "%s :\nL'en-tête du fichier binaire est incomplet"},
        {"only the keyword", full.substr(0, 5), "%s :\nL'en-tête du fichier binaire est incomplet"},
        {"empty", "", "Problème dans l'en-tête de\n%s (position 2)"},
        {"huge values number", versionTwoFile({}, 2000000000),
         "%s :\nL'en-tête du fichier binaire est incomplet"},
        {"huge description", versionTwoFile({}, 1, 2000000000),
         "%s :\nL'en-tête du fichier binaire est incomplet"},
        {"negative description", versionTwoFile({}, 1, -4),
         "%s :\nL'en-tête du fichier binaire est incomplet"},
        {"data inside the header", std::string(full).replace(9, 4, Bytes().i32(20).data),
         "%s :\nPosition des données imprévue dans l'en-tête : 20"},
        {"negative data offset", std::string(full).replace(9, 4, Bytes().i32(-8).data),
         "%s :\nPosition des données imprévue dans l'en-tête : -8"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        test::writeFile(dir.file("b.bin"), c.bytes);
        test::writeFile(dir.file("b.xml"), test::xmlSideFile({{"INTERPOLATION_TYPE", "BILINEAR"}}));
        std::string message;
        GridOpenCondition condition{};
        const CGrille grid = test::openGrid(dir.file("b.bin"), message, 0, nullptr, &condition);
        std::string expected = c.message;
        expected.replace(expected.find("%s"), 2, dir.file("b.bin"));
        EXPECT_EQ(message, expected) << c.name;
        EXPECT_FALSE(grid.hasNodeData()) << c.name;
        EXPECT_EQ(condition, GridOpenCondition::Failed) << c.name;
    }
}

// Node counts beyond what the file holds, or beyond any count a grid can have, are refused
// before any node is read.
TEST(BinaryFormat, AbsurdSizes) {
    const struct {
        std::string name;
        double xMax, yMax, inc;
        std::string message;
    } cases[] = {
        // 40001 × 40001 nodes of 8 bytes: 12.8 GB announced in a file of a few bytes.
        {"more than the file", 40000, 40000, 1, "Le fichier est plus court que ne l'annonce son en-tête"},
        // 1e9 + 1 columns and lines: the product overflows.
        {"overflowing product", 1e9, 1e9, 1,
         "La grille annonce trop de nœuds (1000000001 colonnes × 1000000001 lignes)"},
        // Counts that no int holds.
        {"overflowing count", 1e12, 1, 1e-3,
         "+ Incohérence des limites, pas et nombre de lignes et de colonnes\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Bytes b;
        b.raw(std::string("GRID\0", 5)).i32(3).i32(93);
        for (double v : {0.0, c.xMax, 0.0, c.yMax, c.inc, 1.0}) b.f64(v);
        b.i32(4).i32(0).i32(1).i32(kValuesReal8).i32(0).f64(0).i32(0);
        b.f64(1).f64(2);
        test::writeFile(dir.file("a.bin"), b.data);
        test::writeFile(dir.file("a.xml"), test::xmlSideFile({{"NODE_COORD_UNIT", "METERS"},
                                                              {"INC_UNIT", "METERS"},
                                                              {"INTERPOLATION_TYPE", "BILINEAR"}}));
        std::string message;
        const CGrille grid = test::openGrid(dir.file("a.bin"), message);
        EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": " << message;
        EXPECT_FALSE(grid.hasNodeData());
    }
}

TEST(BinaryFormat, UnexpectedKeywordAndVersion) {
    TempDir dir;
    std::string v2 = versionTwoFile({0, 1, 2, 10, 11, 12});
    std::string wrongMagic = v2;
    wrongMagic[3] = 'X';
    test::writeFile(dir.file("m.bin"), wrongMagic);
    test::RecordingUi ui;
    std::string message;
    GridOpenCondition condition{};
    CGrille grid = test::openGrid(dir.file("m.bin"), message, 0, &ui, &condition);
    EXPECT_EQ(message, "Problème dans l'en-tête de\n" + dir.file("m.bin") + " (position 2)");
    // The grid layer returns the bytes found; the user is shown them in the same words as before.
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Mot-clé imprévu : GRIX\n(" + dir.file("m.bin") + ")"});
    EXPECT_EQ(condition, GridOpenCondition::Failed);
    const GridOpenResult silent = grid.open(0);
    EXPECT_EQ(silent.foundKeyword, "GRIX") << "shown up to its first zero byte";
    EXPECT_EQ(silent.message, message);

    std::string v7 = v2;
    v7.replace(5, 4, Bytes().i32(7).data);
    test::writeFile(dir.file("v7.bin"), v7);
    ui.messages.clear();
    grid = test::openGrid(dir.file("v7.bin"), message, 0, &ui, &condition);
    EXPECT_EQ(message, "Numéro de version imprévu : 7\n(" + dir.file("v7.bin") + ")");
    EXPECT_EQ(ui.messages, std::vector<std::string>{}) << "the caller shows the message itself";
    EXPECT_EQ(condition, GridOpenCondition::Fatal) << "the caller ends the program with exit code 1";
}

// The binary version written from a text grid reads back with the same header; its node
// records have the size of their type, and codes when there are codes.
TEST(BinaryFormat, WrittenVersionReadsBack) {
    const struct {
        std::string header;
        std::string data;
        std::string valuesType;
        long long recordBytes;
        std::vector<double> node21;  // values of node (2, 1)
        int code21;
    } cases[] = {
        {"0 2 0 1 1 1 4 0 3 1 1.5 0 -2 trois valeurs",
         "0 0 0 1  1 1 1 2  2 2 2 3\r\n10 10 10 4  11 11 11 5  12.5 -12.25 1e3 6\r\n",
         "REAL4",
         16,
         {12.5, -12.25, 1000},
         6},
        {"0 2 0 1 1 1 4 0 1 0 0", "0 1 2\r\n10 11 -12\r\n", "INTEGER2", 2, {-12}, 0},
        {"0 2 0 1 1 1 4 0 1 0 0", "0 1 2\r\n10 11 -1e39\r\n", "REAL4", 4, {-HUGE_VAL}, 0},
        {"0 2 0 1 1 1 4 0 1 0 0", "0 1 2\r\n10 11 -70000\r\n", "INTEGER4", 4, {-70000}, 0},
        {"0 2 0 1 1 1 4 0 1 1 0", "0 7 1 7 2 7\r\n10 7 11 7 12.125 -3\r\n", "REAL8", 12, {12.125}, -3},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = test::writeTextGrid(
            dir, "w", c.header, c.data, {{"VALUES_TYPE", c.valuesType}, {"INTERPOLATION_TYPE", "BILINEAR"}});
        std::string message;
        const CGrille written = test::openGrid(path, message);
        ASSERT_EQ(message, "") << c.valuesType;
        ASSERT_EQ(written.header.NAME, dir.file("w.mnt.bin"));
        EXPECT_EQ(static_cast<long long>(fs::file_size(dir.file("w.mnt.bin"))),
                  written.header.dataOffset + 6 * c.recordBytes);
        std::vector<double> values;
        int code = 0;
        written.nodeValues(2, 1, values, code);
        EXPECT_EQ(values, c.node21) << c.valuesType;
        EXPECT_EQ(code, c.code21) << c.valuesType;

        const CGrille text = test::openGrid(path, message, 2);
        ASSERT_EQ(message, "");
        const CGrille binary = test::openGrid(dir.file("w.mnt.bin"), message, 2);
        ASSERT_EQ(message, "");
        for (const CGrille* g : {&binary}) {
            EXPECT_EQ(g->header.X_MIN, text.header.X_MIN);
            EXPECT_EQ(g->header.X_MAX, text.header.X_MAX);
            EXPECT_EQ(g->header.Y_MIN, text.header.Y_MIN);
            EXPECT_EQ(g->header.Y_MAX, text.header.Y_MAX);
            EXPECT_EQ(g->header.X_INC, text.header.X_INC);
            EXPECT_EQ(g->header.Y_INC, text.header.Y_INC);
            EXPECT_EQ(g->header.LAYOUT, text.header.LAYOUT);
            EXPECT_EQ(g->header.VALUES_NUMBER, text.header.VALUES_NUMBER);
            EXPECT_EQ(g->header.VALUES_TYPE, text.header.VALUES_TYPE);
            EXPECT_EQ(g->header.CODE_PREC, text.header.CODE_PREC);
            EXPECT_EQ(g->header.TRANSLATION, text.header.TRANSLATION);
            EXPECT_EQ(g->header.DESC, text.header.DESC);
            EXPECT_EQ(g->header.N_COLUMNS, text.header.N_COLUMNS);
            EXPECT_EQ(g->header.N_LINES, text.header.N_LINES);
        }
    }
}

// A description longer than a binary header holds is cut at 259 characters.
TEST(BinaryFormat, LongDescriptionIsCut) {
    TempDir dir;
    const std::string longText = std::string(250, 'd') + "éééééééééééééééééééé";
    const std::string path = test::writeTextGrid(dir, "long", test::kSmallHeader, test::kSmallData,
                                                 {{"DESC", longText}, {"INTERPOLATION_TYPE", "BILINEAR"}});
    test::writeFile(
        dir.file("long.xml"),
        test::latin1Lines(test::xmlSideFile({{"DESC", longText}, {"INTERPOLATION_TYPE", "BILINEAR"}})));
    std::string message;
    const CGrille text = test::openGrid(path, message, 2);
    ASSERT_EQ(message, "");
    EXPECT_EQ(text.header.DESC, longText);
    CGrille binary = test::openGrid(path, message);
    ASSERT_EQ(message, "");
    // The reopened binary takes DESC from the side file again: read the binary header alone.
    fs::remove(dir.file("long.xml"));
    test::writeFile(dir.file("long.xml"), test::xmlSideFile({{"INTERPOLATION_TYPE", "BILINEAR"}}));
    binary = test::openGrid(dir.file("long.mnt.bin"), message, 2);
    ASSERT_EQ(message, "");
    EXPECT_EQ(binary.header.DESC, std::string(250, 'd') + "ééééééééé");
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

// A binary version records the size and modification time of its text grid between its
// description and its node records, where dataOffset lets every reader of the format skip it;
// a file without the record (or with other bytes there) reads as before, recording no source.
TEST(BinaryFormat, SourceRecordLiesBeforeTheNodes) {
    TempDir dir;
    const std::string path = test::writeTextGrid(dir, "src", test::kSmallHeader, test::kSmallData);
    std::string message;
    const CGrille written = test::openGrid(path, message);
    ASSERT_EQ(message, "");
    const std::string bytes = test::readFile(dir.file("src.mnt.bin"));
    // Header of one value: 81 bytes of fields, one translation, the description's length and text.
    ASSERT_GE(bytes.size(), 93u);
    std::int32_t descLength = 0;
    std::memcpy(&descLength, bytes.data() + 89, 4);
    const std::size_t headerEnd = 93 + static_cast<std::size_t>(descLength);
    ASSERT_GE(bytes.size(), headerEnd + 28);
    EXPECT_EQ(bytes.substr(headerEnd, 4), "ZSRC");
    EXPECT_EQ(written.header.dataOffset, static_cast<long long>(headerEnd + 28));
    std::int64_t size = 0;
    std::memcpy(&size, bytes.data() + headerEnd + 4, 8);
    EXPECT_EQ(size, static_cast<std::int64_t>(fs::file_size(path)));
    EXPECT_EQ(written.header.source.size, size);

    // The same header written without a source, and a gap of other bytes before the nodes.
    const struct {
        const char* name;
        std::string gap;
    } cases[] = {{"no record", ""}, {"other bytes", std::string(28, 'x')}, {"a short record", "ZSRC1234"}};
    for (const auto& c : cases) {
        std::string file = bytes.substr(0, headerEnd) + c.gap + bytes.substr(headerEnd + 28);
        const std::string offset = Bytes().i32(static_cast<std::int32_t>(headerEnd + c.gap.size())).data;
        file.replace(9, 4, offset);
        test::writeFile(dir.file("copy.bin"), file);
        test::writeFile(dir.file("copy.xml"), test::xmlSideFile({{"INTERPOLATION_TYPE", "BILINEAR"}}));
        const CGrille copy = test::openGrid(dir.file("copy.bin"), message);
        ASSERT_EQ(message, "") << c.name;
        EXPECT_EQ(copy.header.source.size, -1) << c.name;
        std::vector<double> values;
        int code = 0;
        ASSERT_EQ(copy.interpolate(3, {0.5, 0.5, 0}, values, code), 0) << c.name;
        EXPECT_DOUBLE_EQ(values[0], 5.5) << c.name;
    }
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

std::string fromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t k = 0; k + 1 < hex.size(); k += 2)
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(k, 2)), nullptr, 16)));
    return bytes;
}

// The binary version of a small text grid, byte for byte as the grid layer has written it since
// binary versions record their source: a build writes exactly these bytes (so a file it writes is
// read by an earlier build, which wrote the same), and a build takes such a file, beside its
// unchanged grid, as the binary version without making it again.
TEST(BinaryFormat, BinaryVersionBytesAreStable) {
    const std::string golden = fromHex(
        "4752494400030000007f000000000000000000000000000000000000400000000000000000000000000000f03f0000"
        "00000000f03f000000000000f03f04000000000000000100000004000000000000000000000000000000060000006"
        "76f6c64656e5a5352432f0000000000000000f1536500000000000000000000000000000000000000000000000000"
        "00f03f0000000000000040000000000000244000000000000026400000000000002840");
    const auto fixedTime = fs::file_time_type::clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1700000000)));
    for (const bool madeHere : {true, false}) {
        SCOPED_TRACE(madeHere ? "written by this build" : "written before");
        TempDir dir;
        const std::string path = test::writeTextGrid(dir, "g", test::kSmallHeader + " golden", test::kSmallData);
        fs::last_write_time(path, fixedTime);
        if (!madeHere) test::writeFile(dir.file("g.mnt.bin"), golden);
        clearGridCaches();
        test::RecordingUi ui;
        std::string message;
        const CGrille grid = test::openGrid(path, message, 0, &ui);
        ASSERT_EQ(message, "");
        EXPECT_EQ(ui.written.empty(), !madeHere);
        EXPECT_EQ(test::readFile(dir.file("g.mnt.bin")), golden);
        std::vector<double> values;
        int code = 0;
        ASSERT_EQ(grid.interpolate(3, {0.5, 0.5, 0}, values, code), 0);
        EXPECT_DOUBLE_EQ(values[0], 5.5);
    }
}

}  // namespace
}  // namespace zelvo
