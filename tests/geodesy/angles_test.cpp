#include "geodesy/angles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <thread>

namespace zelvo {
namespace {

TEST(ConvertAngle, Table) {
    struct Case {
        double value;
        int from, to;
        double expected, tolerance;
    } cases[] = {
        {0.0, 1, 2, 0.0, 0.0},
        {1.234567, 5, 5, 1.234567, 0.0},
        {100.0, 3, 2, 90.0, 0.0},
        {90.0, 2, 3, 100.0, 0.0},
        {45.30155, 10, 2, 45.0 + 30.0 / 60.0 + 15.5 / 3600.0, 1e-13},
        {-0.3, 10, 2, -0.5, 1e-15},
        {2.0, 4, 2, 30.0, 0.0},
        {30.0, 2, 11, 2.0, 0.0},
        {1.3, 11, 2, 22.5, 1e-13},  // 1h30′
        {12.5, 7, 2, 12.5, 0.0},            // unassigned codes read as degrees
        {12.5, 2, 9, 12.5, 0.0},
        {12.5, 0, 13, 12.5, 0.0},
        {180.0, 2, 1, kPi, 0.0},
        {kPi, 1, 2, 180.0, 0.0},
        {1.0, 2, 5, 3600.0, 0.0},
        {3600.0, 5, 2, 1.0, 0.0},
        {240.0, 6, 2, 1.0, 0.0},
        {1.0, 2, 6, 240.0, 0.0},
        {45.3025, 12, 2, 45.0 + 30.25 / 60.0, 1e-13},
        {45.504305555555555, 2, 10, 45.30155, 1e-13},
        {45.50416666666667, 2, 12, 45.3025, 1e-13},
        {-48.8566, 2, 10, -48.512376, 1e-12},
        {2.5969213, 3, 2, 2.33722917, 1e-14},  // Paris, in grads
        {-21.07, 10, 1, -(21.0 + 7.0 / 60.0) * kPi / 180.0, 1e-15},
        {0.5, 3, 10, 0.2700, 1e-13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " from " << c.from << " to " << c.to);
        EXPECT_NEAR(convertAngle(c.value, c.from, c.to), c.expected, c.tolerance);
    }
}

TEST(ConvertAngle, BasicKnowsOnlyRadiansGradsAndPackedDms) {
    struct Case {
        double value;
        int from, to;
        double expected, tolerance;
    } cases[] = {
        {100.0, 3, 2, 90.0, 0.0},
        {90.0, 2, 1, kHalfPi, 0.0},
        {45.30155, 10, 2, 45.504305555555555, 1e-13},
        {2.0, 4, 2, 2.0, 0.0},     // hours read as degrees
        {3600.0, 5, 2, 3600.0, 0.0},
        {45.3025, 12, 1, 45.3025 * kPi / 180.0, 0.0},  // packed DM read as degrees
        {1.3, 11, 2, 1.3, 0.0},
        {30.0, 2, 4, 30.0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " from " << c.from << " to " << c.to);
        EXPECT_NEAR(convertAngleBasic(c.value, c.from, c.to), c.expected, c.tolerance);
    }
}

TEST(ConvertAngle, RoundTripsThroughEveryUnit) {
    const int units[] = {1, 2, 3, 4, 5, 6, 10, 11, 12};
    const double degrees[] = {0.0, 2.33722917, -1.5, 45.504305555, 48.85, -21.116666666667, 89.99999, 179.25, -179.9};
    for (int unit : units)
        for (double d : degrees) {
            SCOPED_TRACE(testing::Message() << d << "° through unit " << unit);
            const double there = convertAngle(d, 2, unit);
            // Packed forms keep 13 decimals of the packed value: about 1e-9″, 3e-13°.
            EXPECT_NEAR(convertAngle(there, unit, 2), d, 1e-11);
        }
}

// The packed fields as the fixed-width text reading defines them: "%18.13Lf" of |x|, a point
// inserted before the fractions, then "%d.%2d%lf" (DMS) or "%d.%lf" (DM).
DmsParts literalSplitDms(double x) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%*.*Lf", 18, 13, static_cast<long double>(std::fabs(x)));
    std::memmove(buffer + 10, buffer + 9, 10);
    buffer[9] = '.';
    DmsParts p;
    std::sscanf(buffer, "%d.%2d%lf", &p.degrees, &p.minutes, &p.seconds);
    p.negative = x < 0;
    snapToInteger(p.seconds, 1e-8);
    if (p.minutes > 90) p.minutes -= 40;
    if (p.seconds > 90) p.seconds -= 40;
    if (p.seconds >= 60) p.seconds -= 60, p.minutes += 1;
    if (p.minutes >= 60) p.minutes -= 60, p.degrees += 1;
    return p;
}

DmParts literalSplitDm(double x) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%*.*Lf", 18, 13, static_cast<long double>(std::fabs(x)));
    std::memmove(buffer + 8, buffer + 7, 12);
    buffer[7] = '.';
    DmParts p;
    std::sscanf(buffer, "%d.%lf", &p.degrees, &p.minutes);
    p.negative = x < 0;
    if (p.minutes > 90) p.minutes -= 40;
    if (p.minutes >= 60) p.minutes -= 60, p.degrees += 1;
    return p;
}

TEST(PackedForms, SplitDmsTable) {
    struct Case {
        double value;
        bool negative;
        int degrees, minutes;
        double seconds, tolerance;
    } cases[] = {
        {45.30155, false, 45, 30, 15.5, 1e-9},
        {45.2999999999, false, 45, 29, 59.999999, 1e-9},  // seconds 99.999999 carried
        {12.5960, false, 13, 0, 0.0, 0.0},                  // 60″ then 60′ carried
        {12.0559999999999, false, 12, 6, 0.0, 0.0},         // seconds snapped to 60, carried
        {10.1000000000005, false, 10, 10, 0.0, 0.0},        // seconds within 1e-8 of 0
        {-0.3, true, 0, 30, 0.0, 0.0},
        {-0.0, false, 0, 0, 0.0, 0.0},                      // a negative zero is not negative
        {-21.07, true, 21, 7, 0.0, 0.0},
        {55.32, false, 55, 32, 0.0, 1e-9},
        {9999.596, false, 10000, 0, 0.0, 0.0},
        {179.5959999999, false, 179, 59, 59.999999, 1e-9},
        {0.00000001, false, 0, 0, 0.0001, 1e-12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message().operator<<(c.value));
        const DmsParts p = splitDms(c.value);
        EXPECT_EQ(p.negative, c.negative);
        EXPECT_EQ(p.degrees, c.degrees);
        EXPECT_EQ(p.minutes, c.minutes);
        EXPECT_NEAR(p.seconds, c.seconds, c.tolerance);
    }
}

TEST(PackedForms, SplitDmTable) {
    struct Case {
        double value;
        bool negative;
        int degrees;
        double minutes, tolerance;
    } cases[] = {
        {45.3025, false, 45, 30.25, 1e-9},
        {45.5999999999, false, 45, 59.99999999, 1e-9},
        {45.9999999999, false, 45, 59.99999999, 1e-9},  // minutes 99.99… carried to 59.99…
        {12.60, false, 13, 0.0, 1e-12},                 // 60′ carried into the degrees
        {-1.45, true, 1, 45.0, 1e-9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message().operator<<(c.value));
        const DmParts p = splitDm(c.value);
        EXPECT_EQ(p.negative, c.negative);
        EXPECT_EQ(p.degrees, c.degrees);
        EXPECT_NEAR(p.minutes, c.minutes, c.tolerance);
    }
}

TEST(PackedForms, SplittersReadTheFixedWidthTextExactly) {
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> any(-400.0, 400.0);
    std::vector<double> values = {45.2999999999, 12.5960, 0.5959999999996, 59.99999999995, 0.00999999999995};
    for (int i = 0; i < 20000; ++i) values.push_back(any(random));
    // Values near sexagesimal and decimal boundaries, where carries and snapping happen.
    for (int i = 0; i < 2000; ++i) {
        const double base = std::floor(any(random)) + (random() % 60) / 100.0 + (random() % 61) / 10000.0;
        values.push_back(base + (static_cast<double>(random() % 2001) - 1000.0) * 1e-14);
    }
    for (double v : values) {
        SCOPED_TRACE(testing::Message() << std::hexfloat << v);
        const DmsParts a = splitDms(v), b = literalSplitDms(v);
        EXPECT_EQ(a.negative, b.negative);
        EXPECT_EQ(a.degrees, b.degrees);
        EXPECT_EQ(a.minutes, b.minutes);
        EXPECT_EQ(a.seconds, b.seconds);
        const DmParts c = splitDm(v), d = literalSplitDm(v);
        EXPECT_EQ(c.negative, d.negative);
        EXPECT_EQ(c.degrees, d.degrees);
        EXPECT_EQ(c.minutes, d.minutes);
    }
}

TEST(PackedForms, SplittersAreReentrant) {
    // Two threads splitting different values at once each get their own fields.
    auto work = [](double value, int minutes, bool& ok) {
        ok = true;
        for (int i = 0; i < 20000; ++i) ok = ok && splitDms(value).minutes == minutes && splitDm(value).degrees == 12;
    };
    bool ok1 = false, ok2 = false;
    std::thread t1(work, 12.1530, 15, std::ref(ok1));
    std::thread t2(work, 12.4512, 45, std::ref(ok2));
    t1.join();
    t2.join();
    EXPECT_TRUE(ok1);
    EXPECT_TRUE(ok2);
}

TEST(PackedForms, ComposeAndDegreesTable) {
    struct Case {
        const char* what;
        double got, expected, tolerance;
    } cases[] = {
        {"composeDms", composeDms({true, 45, 30, 15.5}), -45.30155, 1e-14},
        {"composeDm", composeDm({false, 45, 30.25}), 45.3025, 1e-14},
        {"dmsToDegrees", dmsToDegrees(45.30155), 45.504305555555555, 1e-13},
        {"dmsToDegrees carries", dmsToDegrees(45.2999999999), 45.5, 1e-9},
        {"dmToDegrees", dmToDegrees(-45.3025), -45.50416666666667, 1e-13},
        {"degreesToDms", degreesToDms(45.504305555555555), 45.30155, 1e-13},
        {"degreesToDms snaps minutes", degreesToDms(45.49999999999), 45.30, 1e-13},
        {"degreesToDms 30 seconds", degreesToDms(45.50833333333333), 45.3030, 1e-13},
        {"degreesToDms carries snapped minutes", degreesToDms(45.99999999999), 46.0, 0.0},
        {"degreesToDms negative", degreesToDms(-0.5), -0.30, 1e-15},
        {"degreesToDm", degreesToDm(45.50416666666667), 45.3025, 1e-13},
        {"degreesToDm negative", degreesToDm(-2.25), -2.15, 1e-15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(c.got, c.expected, c.tolerance);
    }
}

TEST(Snapping, Table) {
    struct Case {
        double x, eps;
        double snapped;
        int nearest;
    } cases[] = {
        {2.9999999999, 1e-8, 3.0, 3},  {3.0000000001, 1e-8, 3.0, 3}, {2.5, 1e-8, 2.5, 2},
        {-1.99999999999, 1e-8, -2.0, -2}, {-2.00000000001, 1e-8, -2.0, -2}, {-2.5, 1e-8, -2.5, -3},
        {4.0, 1e-8, 4.0, 4},           {2.99, 0.1, 3.0, 3},           {2.95, 0.01, 2.95, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " within " << c.eps);
        double x = c.x;
        snapToInteger(x, c.eps);
        EXPECT_EQ(x, c.snapped);
        EXPECT_EQ(nearestIntegerWithin(c.x, c.eps), c.nearest);
    }
}

TEST(Snapping, RoundHalfAway) {
    struct Case {
        double x, expected;
    } cases[] = {{2.5, 3.0}, {-2.5, -3.0}, {2.4999, 2.0}, {-2.4999, -2.0}, {0.0, 0.0}, {0.5, 1.0}, {-0.5, -1.0}, {7.0, 7.0}};
    for (const auto& c : cases) EXPECT_EQ(roundHalfAway(c.x), c.expected) << c.x;
}

TEST(AngleOutput, FormatsAndNames) {
    struct Case {
        int unit;
        const char* text;  // 1.5 written in the unit's format
        const char* name;
    } cases[] = {
        {0, "", ""},
        {1, " 1.5000000000", "Radians"},
        {2, "   1.50000000", "Degrés décimaux"},
        {3, "   1.50000000", "Grades"},
        {4, " 1.5000000000", "Heures décimales"},
        {5, "      1.50000", "Secondes de degré"},
        {6, "     1.500000", "Secondes d'heure"},
        {7, "", ""},
        {8, "", ""},
        {9, "", ""},
        {10, "  1.500000000", "Degrés Minutes Secondes"},
        {11, " 1.5000000000", "Heures Minutes Secondes"},
        {12, "  1.500000000", "Degrés Minutes décimales"},
        {13, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        std::string out;
        appendAngle(out, 1.5, c.unit);
        EXPECT_EQ(out, c.text);
        EXPECT_EQ(unitName(c.unit), c.name);
    }
    std::string out;
    appendAngle(out, -179.123456789, 2);
    EXPECT_EQ(out, "-179.12345679");
}

}  // namespace
}  // namespace zelvo
