// Interpolation of opened grids: bilinear cells and their edges, precision codes, unknown
// values, spline windows and their continuation, translation, longitude wrap.

#include <gtest/gtest.h>

#include <cmath>

#include "grid_fixtures.hpp"

namespace zelvo {
namespace {

using test::TempDir;

struct PointCase {
    double x, y;
    int status;
    double value;  // expected when the status is 0
};

// The bilinear method works in node units (a grid starting at longitude 0 receives negative
// longitudes through interpolate as longitudes past 180, see PointUnitsAndLongitudeWrap).
// Values of the 3 × 2 grid: inside, on the flat continuation up to one increment
// before the first and past the last node, and outside.
TEST(Bilinear, SmallGridInsideEdgesAndOutside) {
    TempDir dir;
    std::string message;
    const CGrille grid =
        test::openGrid(test::writeTextGrid(dir, "small", test::kSmallHeader, test::kSmallData), message);
    ASSERT_EQ(message, "");
    const PointCase cases[] = {
        {0.5, 0.5, 0, 5.5}, {-0.5, 0.5, 0, 5.0}, {2.9, 1.5, 0, 12.0},
        {-1.1, 0, 2, 0},    {3, 0, 2, 0},        {1, 1, 0, 11.0},
        {0, 0, 0, 0.0},     {2, 1, 0, 12.0},     {-1, -1, 0, 0.0},
        {2.5, 0.5, 0, 7.0}, {0.5, -0.5, 0, 0.5}, {0.5, 1.5, 0, 10.5},
        {-0.5, 1.9, 0, 10}, {2.5, -0.9, 0, 2},   {1.25, 0.75, 0, 8.75},
        {0.5, 2.0, 2, 0},   {0.5, -1.01, 2, 0},  {1.9999999999999, 0, 0, 2.0},
    };
    for (const PointCase& c : cases) {
        std::vector<double> values;
        int code = -7;
        const int status = grid.interpolateBilinear(c.x, c.y, values, code);
        EXPECT_EQ(status, c.status) << c.x << " " << c.y;
        ASSERT_EQ(values.size(), 1u);
        if (c.status == 0) {
            EXPECT_NEAR(values[0], c.value, 1e-12) << c.x << " " << c.y;
        }
        if (c.status == 2) {
            EXPECT_EQ(code, -7) << "outside, the code is left as it was";
        }
    }
}

// The code of the nearest real node; a fraction of exactly 0.5 goes to the higher index.
TEST(Bilinear, PrecisionCodeOfTheNearestNode) {
    TempDir dir;
    // Codes 100 + i + 10 j.
    const std::string data = "0 100 1 101 2 102\r\n10 110 11 111 12 112\r\n";
    std::string message;
    const CGrille grid =
        test::openGrid(test::writeTextGrid(dir, "codes", "0 2 0 1 1 1 4 0 1 1 0", data), message);
    ASSERT_EQ(message, "");
    const struct {
        double x, y;
        int code;
    } cases[] = {
        {0.5, 0.5, 111},  {0.49, 0.49, 100}, {0.49, 0.5, 110}, {0.5, 0.49, 101},
        {-0.5, 0.7, 110}, {-0.5, 0.2, 100},  {2.5, 0.2, 102},  {2.5, 0.5, 112},
        {-1, -1, 100},    {-0.2, 1.5, 110},  {2.7, 1.7, 112},  {2.2, -0.4, 102},
        {0.5, -0.5, 101}, {0.4, -0.5, 100},  {1.6, 1.3, 112},  {1.4, 1.3, 111},
    };
    for (const auto& c : cases) {
        std::vector<double> values;
        int code = -1;
        ASSERT_EQ(grid.interpolateBilinear(c.x, c.y, values, code), 0);
        EXPECT_EQ(code, c.code) << c.x << " " << c.y;
    }
}

// An unknown value spoils the values it takes part in unless it is read as 0.
TEST(Bilinear, UnknownValues) {
    const struct {
        std::string toZero;
        double x, y;
        int status;
        double value;
    } cases[] = {
        {"NO", 0.5, 0.5, 0, -9999}, {"NO", 1.5, 0.5, 0, -9999}, {"NO", 2.5, 0.5, 0, 7.0},
        {"NO", 5, 5, 2, -9999},     {"YES", 0.5, 0.5, 0, 5.25}, {"YES", 1, 0, 0, 0.0},
        {"YES", 5, 5, 2, 0.0},      {"NO", 1, 0, 0, -9999},
    };
    for (const auto& c : cases) {
        TempDir dir;
        std::string message;
        const CGrille grid =
            test::openGrid(test::writeTextGrid(dir, "unk", test::kSmallHeader, "0 -9999 2\r\n10 11 12\r\n",
                                               {{"VALUE_UNK", "-9999"},
                                                {"VALUE_UNK_TO_ZERO", c.toZero},
                                                {"INTERPOLATION_TYPE", "BILINEAR"}}),
                           message);
        ASSERT_EQ(message, "");
        std::vector<double> values;
        int code = 0;
        EXPECT_EQ(grid.interpolate(3, {c.x, c.y, 0}, values, code), c.status);
        EXPECT_NEAR(values.at(0), c.value, 1e-12) << c.toZero << " " << c.x << " " << c.y;
    }
}

// With no unknown value set, zeros are ordinary values.
TEST(Bilinear, ZeroIsAValueWhenNoUnknownIsSet) {
    TempDir dir;
    std::string message;
    const CGrille grid =
        test::openGrid(test::writeTextGrid(dir, "z", test::kSmallHeader, "0 0 0\r\n0 0 8\r\n"), message);
    ASSERT_EQ(message, "");
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(grid.interpolate(3, {1.5, 0.5, 0}, values, code), 0);
    EXPECT_DOUBLE_EQ(values[0], 2.0);
}

// Three values per node, each with its own translation (added by the bilinear method only).
TEST(Bilinear, ThreeValuesAndTranslation) {
    TempDir dir;
    const std::string data = "0 100 -5 1 101 -6 2 102 -7\r\n10 110 -15 11 111 -16 12 112 -17\r\n";
    std::string message;
    const CGrille grid =
        test::openGrid(test::writeTextGrid(dir, "t3", "0 2 0 1 1 1 4 0 3 0 1 2 3", data), message);
    ASSERT_EQ(message, "");
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(grid.interpolate(3, {0.5, 0.5, 0}, values, code), 0);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_NEAR(values[0], 5.5 + 1, 1e-12);
    EXPECT_NEAR(values[1], 105.5 + 2, 1e-12);
    EXPECT_NEAR(values[2], -10.5 + 3, 1e-12);
}

// The point's unit is converted into the node unit; a 0..360 grid takes negative longitudes.
TEST(Interpolate, PointUnitsAndLongitudeWrap) {
    TempDir dir;
    std::string message;
    const CGrille wrap = test::openGrid(
        test::writeTextGrid(dir, "wrap", "340 360 0 1 10 1 4 0 1 0 0", test::kSmallData), message);
    ASSERT_EQ(message, "");
    const CGrille plain = test::openGrid(
        test::writeTextGrid(dir, "plain", "-20 0 0 1 10 1 4 0 1 0 0", test::kSmallData), message);
    ASSERT_EQ(message, "");
    const struct {
        const CGrille* grid;
        int unit;
        double x, y;
        double value;
    } cases[] = {
        {&wrap, 3, -10, 0.5, 6.0},
        {&wrap, 3, 350, 0.5, 6.0},
        {&wrap, 2, -36000, 1800, 6.0},
        {&wrap, 4, -10 * 3.141592653589793 / 180, 0.5 * 3.141592653589793 / 180, 6.0},
        {&plain, 3, -10, 0.5, 6.0},
        {&plain, 3, -15, 0.25, 3.0},
    };
    for (const auto& c : cases) {
        std::vector<double> values;
        int code = 0;
        ASSERT_EQ(c.grid->interpolate(c.unit, {c.x, c.y, 0}, values, code), 0) << c.x;
        EXPECT_NEAR(values[0], c.value, 1e-9) << c.unit << " " << c.x;
    }
}

TEST(Interpolate, GridWithoutValuesInMemoryGivesNoValue) {
    TempDir dir;
    std::string message;
    CGrille headerOnly =
        test::openGrid(test::writeTextGrid(dir, "h", test::kSmallHeader, test::kSmallData), message, 2);
    ASSERT_EQ(message, "");
    std::vector<double> values;
    int code = 0;
    EXPECT_EQ(headerOnly.interpolate(3, {0.5, 0.5, 0}, values, code), 3);
    CGrille full = test::openGrid(dir.file("h.mnt"), message);
    ASSERT_EQ(message, "");
    EXPECT_EQ(full.interpolate(3, {0.5, 0.5, 0}, values, code), 0);
    full.release();
    EXPECT_EQ(full.interpolate(3, {0.5, 0.5, 0}, values, code), 3) << "a released grid must be opened again";
}

TEST(Spline, SecondDerivativesAndEvaluation) {
    const double y[] = {0, 1, 0, 1};
    double m[4];
    splineSecondDerivatives(y, 4, m);
    EXPECT_NEAR(m[0], 0, 1e-12);
    EXPECT_NEAR(m[1], -4, 1e-12);
    EXPECT_NEAR(m[2], 4, 1e-12);
    EXPECT_NEAR(m[3], 0, 1e-12);
    const struct {
        double t, value;
    } cases[] = {
        {1, 0},      {2, 1},          {3, 0},
        {4, 1},      {1.5, 0.75},     {2.5, 0.5},
        {3.5, 0.25}, {0.5, -5.0 / 6}, {4.5, 1 + 5.0 / 6},
    };
    for (const auto& c : cases) EXPECT_NEAR(splineEvaluate(c.t, y, 4, m), c.value, 1e-12) << c.t;
}

// A 10 × 10 grid in layout SW2E2N whose node (i, j) holds f(i, j).
template <typename F>
std::string tenByTen(F f) {
    std::string data;
    for (int j = 0; j < 10; ++j) {
        for (int i = 0; i < 10; ++i) data += std::to_string(f(i, j)) + (i == 9 ? "\r\n" : " ");
    }
    return data;
}

const std::vector<std::pair<std::string, std::string>> kSpline4 = {{"INTERPOLATION_TYPE", "SPLINE"},
                                                                   {"INTERPOLATION_ORDER", "4"}};

// Values on a plane come back exactly, inside and on the linear continuation beyond the last
// node; the domain has no margin before the first node.
TEST(Spline, PlaneIsReproducedAndContinuedLinearly) {
    TempDir dir;
    std::string message;
    const CGrille grid = test::openGrid(
        test::writeTextGrid(dir, "plane", "0 9 0 9 1 1 4 0 1 0 0",
                            tenByTen([](int i, int j) { return 2 * i + 3 * j + 1; }), kSpline4),
        message);
    ASSERT_EQ(message, "");
    const PointCase cases[] = {
        {0.3, 0.3, 0, 2 * 0.3 + 3 * 0.3 + 1},
        {4.5, 6.25, 0, 2 * 4.5 + 3 * 6.25 + 1},
        {9.5, 9.9, 0, 2 * 9.5 + 3 * 9.9 + 1},
        {9, 9, 0, 46},
        {-0.2, 3, 2, 0},
        {3, -0.2, 2, 0},
        {10, 3, 2, 0},
        {0, 0, 0, 1},
    };
    for (const PointCase& c : cases) {
        std::vector<double> values;
        int code = 0;
        EXPECT_EQ(grid.interpolate(3, {c.x, c.y, 0}, values, code), c.status) << c.x << " " << c.y;
        if (c.status == 0) {
            EXPECT_NEAR(values[0], c.value, 1e-9) << c.x << " " << c.y;
        }
    }
}

// The window is the two nodes on each side of the point, moved inward at the edges: a grid
// whose only non-zero column is 5 shows which columns each window holds.
TEST(Spline, WindowPlacement) {
    TempDir dir;
    std::string message;
    const CGrille grid =
        test::openGrid(test::writeTextGrid(dir, "col5", "0 9 0 9 1 1 4 0 1 0 0",
                                           tenByTen([](int i, int) { return i == 5 ? 1 : 0; }), kSpline4),
                       message);
    ASSERT_EQ(message, "");
    const struct {
        double u;
        double value;  // 0 when column 5 is outside the window
    } cases[] = {
        {0.3, 0},       // columns 0..3
        {2.9, 0},       // columns 1..4
        {6.5, -0.075},  // columns 5..8, t = 2.5 on the spline through 1, 0, 0, 0
        {7.0, 0},       // columns 6..9
        {8.0, 0},       // columns 6..9 (moved inward)
        {9.5, 0},       // columns 6..9, t = 4.5
    };
    for (const auto& c : cases) {
        std::vector<double> values;
        int code = 0;
        ASSERT_EQ(grid.interpolate(3, {c.u, 4.5, 0}, values, code), 0) << c.u;
        EXPECT_NEAR(values[0], c.value, 1e-12) << c.u;
    }
    // Columns 2..5 around u = 3.5: the spline through 0, 0, 0, 1 at t = 2.5 (mirror of above).
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(grid.interpolate(3, {3.5, 4.5, 0}, values, code), 0);
    EXPECT_NEAR(values[0], -0.075, 1e-12);
}

TEST(Spline, CodeOfNearestWindowNodeUnknownsAndNoTranslation) {
    TempDir dir;
    std::string data;
    for (int j = 0; j < 10; ++j)
        for (int i = 0; i < 10; ++i)
            data += (i == 8 && j == 8 ? std::string("-9999") : std::to_string(i)) + " " +
                    std::to_string(i + 100 * j) + "\r\n";
    auto elements = kSpline4;
    elements.push_back({"VALUE_UNK", "-9999"});
    elements.push_back({"TRANSLATION", "1.5"});
    std::string message;
    const CGrille grid =
        test::openGrid(test::writeTextGrid(dir, "sc", "0 9 0 9 1 1 4 0 1 1 0", data, elements), message);
    ASSERT_EQ(message, "");
    const struct {
        double x, y;
        int code;
        double value;
    } cases[] = {
        {3.4, 5.6, 603, 3.4},  // no translation added
        {3.5, 5.6, 604, 3.5},  // a tie goes to the later node in reading order
        {1.2, 1.2, 101, 1.2},
        {7.5, 7.5, 808, -9999},  // node (8, 8) is in the window
    };
    for (const auto& c : cases) {
        std::vector<double> values;
        int code = -1;
        ASSERT_EQ(grid.interpolate(3, {c.x, c.y, 0}, values, code), 0);
        EXPECT_EQ(code, c.code) << c.x << " " << c.y;
        EXPECT_NEAR(values[0], c.value, 1e-9) << c.x << " " << c.y;
    }
    // The same grid read bilinearly adds the translation.
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(grid.apply(3, {3.5, 5.5, 0}, values, code, kInterpolationBilinear), 0);
    EXPECT_NEAR(values[0], 3.5 + 1.5, 1e-12);
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

// Nodes that hold no number (NaN, an infinity): an interpolation that needs one gives status 4
// and zeros, never a value made from it; the others are untouched. Grid of 8 × 5 nodes, node
// (i, j) = i + 10 j, NaN at (7, 4) and minus infinity at (0, 4).
TEST(NonFiniteNodes, PointsNeedingThemAreOutside) {
    TempDir dir;
    std::string data;
    for (int j = 0; j < 5; ++j) {
        for (int i = 0; i < 8; ++i) {
            const std::string value = j == 4 && i == 7 ? "nan" : j == 4 && i == 0 ? "-inf" : std::to_string(i + 10 * j);
            data += value + (i == 7 ? "\r\n" : " ");
        }
    }
    std::string message;
    const CGrille grid = test::openGrid(
        test::writeTextGrid(dir, "holes", "0 7 0 4 1 1 4 0 1 0 0", data,
                            {{"INTERPOLATION_TYPE", "BILINEAR"}, {"INTERPOLATION_ORDER", "4"}}),
        message);
    ASSERT_EQ(message, "");
    const struct {
        int type;  // 2 bilinear, 4 spline of order 4
        double x, y;
        int status;
    } cases[] = {
        {kInterpolationBilinear, 0.5, 0.5, 0},  {kInterpolationBilinear, 3.5, 3.5, 0},
        {kInterpolationBilinear, 6.5, 3.5, 4},  {kInterpolationBilinear, 0.5, 3.5, 4},
        {kInterpolationBilinear, 7, 4, 4},      {kInterpolationBilinear, 7.5, 4.5, 4},
        {kInterpolationSpline, 3.5, 0.5, 0},    {kInterpolationSpline, 6.5, 3.5, 4},
        {kInterpolationSpline, 0.2, 3.8, 4},
    };
    for (const auto& c : cases) {
        std::vector<double> values;
        int code = 0;
        const int status = grid.apply(kGridUnitDegrees, {c.x, c.y, 0}, values, code, c.type);
        EXPECT_EQ(status, c.status) << c.type << " " << c.x << " " << c.y;
        ASSERT_EQ(values.size(), 1u);
        EXPECT_TRUE(std::isfinite(values[0])) << c.type << " " << c.x << " " << c.y;
        if (c.status == 4) {
            EXPECT_EQ(values[0], 0.0);
        }
        if (c.status == 0 && c.type == kInterpolationBilinear) {
            EXPECT_NEAR(values[0], c.x + 10 * c.y, 1e-12);
        }
    }
}

}  // namespace
}  // namespace zelvo
