#include "platform/number_text.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace zelvo {
namespace {

TEST(FieldScanner, ConvertsAsScanfDoes) {
    struct Case {
        const char* text;
        const char* format;  // d, f, s per conversion
    } cases[] = {
        {"  12 -3.5e2 mot", "dfs"}, {"+7 .5 x", "dfs"}, {"12abc", "ds"}, {"1.5.6", "ff"}, {"-", "d"},
        {"nan inf -INFINITY", "fff"}, {"0x1A", "ds"}, {"99999999999", "d"},
        {"2147483647 -2147483648", "dd"}, {"abc", "f"}, {"", "d"}, {"12", "f"}, {"4.", "fs"}, {"-.e5", "f"},
    };
    for (const auto& c : cases) {
        // What sscanf does in the C locale, conversion by conversion.
        std::string expected, got;
        int offset = 0;
        for (const char* f = c.format; *f; ++f) {
            const char* rest = c.text + offset;
            int used = 0;
            char word[256];
            int n = 0;
            int iv = 0;
            double dv = 0;
            if (*f == 'd') n = std::sscanf(rest, "%d%n", &iv, &used);
            if (*f == 'f') n = std::sscanf(rest, "%lf%n", &dv, &used);
            if (*f == 's') n = std::sscanf(rest, "%255s%n", word, &used);
            if (n != 1) break;
            offset += used;
            if (*f == 'd') expected += std::to_string(iv) + ";";
            if (*f == 'f') expected += std::to_string(dv) + ";";
            if (*f == 's') expected += std::string(word) + ";";
        }
        FieldScanner scanner(c.text);
        for (const char* f = c.format; *f; ++f) {
            int iv = 0;
            double dv = 0;
            std::string w;
            bool ok = false;
            if (*f == 'd' && (ok = scanner.readInt(iv))) got += std::to_string(iv) + ";";
            if (*f == 'f' && (ok = scanner.readDouble(dv))) got += std::to_string(dv) + ";";
            if (*f == 's' && (ok = scanner.readWord(w))) got += w + ";";
            if (!ok) break;
        }
        if (std::string(c.text) == "99999999999") {
            EXPECT_EQ(got, "") << "an overflowing integer is no conversion";
            continue;
        }
        EXPECT_EQ(got, expected) << '"' << c.text << "\" with " << c.format;
    }
}

TEST(FieldScanner, ReadsOutOfRangeRealsAsStrtodDoes) {
    // Overflow gives infinity and underflow zero, whether an exponent or the digits themselves
    // put the number out of range.
    const std::string texts[] = {
        "1e999", "-1e999", "1e-999", "1e99999999999999999999", "1e-99999999999999999999",
        std::string(120000, '7'), "-" + std::string(400, '9') + ".5", "0." + std::string(400, '0') + "1",
        std::string(400, '0') + "1e-400", std::string(500, '1') + "e-200", "0.00001e315", "123.4e-330",
    };
    for (const std::string& text : texts) {
        FieldScanner scanner(text);
        double got = 0;
        ASSERT_TRUE(scanner.readDouble(got)) << text.substr(0, 30);
        EXPECT_TRUE(scanner.atEnd()) << text.substr(0, 30);
        EXPECT_EQ(got, std::strtod(text.c_str(), nullptr)) << text.substr(0, 30);
    }
}

TEST(FieldScanner, CutsLongWordsWithoutSpilling) {
    FieldScanner scanner("abcdefghij 42");
    std::string w;
    int v = 0;
    ASSERT_TRUE(scanner.readWord(w, 4));
    EXPECT_EQ(w, "abcd");
    ASSERT_TRUE(scanner.readInt(v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(scanner.atEnd());
}

TEST(LeadingNumbers, ReadLikeAtoiAndAtof) {
    struct Case {
        const char* text;
        int i;
        double d;
    } cases[] = {{"02", 2, 2.0}, {"-3x", -3, -3.0}, {"abc", 0, 0.0}, {" 4.75", 4, 4.75}, {"-1.5", -1, -1.5},
                 {"1e3", 1, 1000.0}, {"", 0, 0.0}, {"+8", 8, 8.0}};
    for (const auto& c : cases) {
        EXPECT_EQ(leadingInt(c.text), c.i) << c.text;
        EXPECT_DOUBLE_EQ(leadingDouble(c.text), c.d) << c.text;
    }
    double v = 0;
    EXPECT_TRUE(parseDouble(" 12.5 ", v));
    EXPECT_EQ(v, 12.5);
    EXPECT_FALSE(parseDouble("12.5x", v));
    EXPECT_FALSE(parseDouble("", v));
}

TEST(AppendFixed, PrintsWhatPrintfPrints) {
    const double values[] = {0.0,        -0.0,       1.0005,        2.675,          -0.0004, 860690.5224999,
                             6319037.0465, 1e21,      123456789.123456789, 0.1 + 0.2, 45.30155, -1.5e-9,
                             std::nan(""), 0.5,        1.5,           2.5,            -2.5,    999.9995};
    struct Format {
        int width, decimals;
    } formats[] = {{0, 3}, {0, 8}, {13, 10}, {13, 8}, {13, 5}, {0, 0}, {0, 1}, {20, 6}};
    for (double v : values)
        for (const auto& f : formats) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%*.*f", f.width, f.decimals, v);
            std::string got;
            appendFixed(got, v, f.width, f.decimals);
            EXPECT_EQ(got, expected) << v << " as %" << f.width << "." << f.decimals << "f";
        }
}

TEST(AppendFixed, IgnoresTheProcessLocale) {
    if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr)
        ZELVO_MISSING_PREREQUISITE("no French locale on this machine (made by scripts/install-deps.sh)");
    std::string got;
    appendFixed(got, 1234.5, 2);
    double v = 0;
    const bool parsed = parseDouble("3.25", v);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(got, "1234.50");
    EXPECT_TRUE(parsed);
    EXPECT_EQ(v, 3.25);
}

// The integer conversion of short fixed texts against printf, on the values where it can go
// wrong: exact ties (multiples of 1/16 and 1/1024 reach the last decimal with a 5), neighbours of
// the rounding boundaries, carries into a new digit, negative zero, and both sides of the largest
// magnitude it takes.
TEST(AppendFixed, TrickyValuesAsText) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {9.9995, 3, "9.999"},          // 9.99949999… in binary
        {9.99951, 3, "10.000"},        {0.9995, 3, "1.000"},          {99.9999999, 3, "100.000"},
        {999999.9995, 3, "1000000.000"}, {0.0625, 3, "0.062"},          // exact tie, to even
        {0.1875, 3, "0.188"},          {123.0625, 3, "123.062"},      {-0.0625, 3, "-0.062"},
        {-0.0004, 3, "-0.000"},        {-0.0, 3, "-0.000"},           {0.0, 0, "0"},
        {-0.0, 0, "-0"},               {0.0005, 3, "0.001"},          {1.0005, 3, "1.000"},
        {2.5, 0, "2"},                 {3.5, 0, "4"},                 {-2.5, 0, "-2"},
        {5e-9, 8, "0.00000001"},       {1.5e-8, 8, "0.00000001"},     {179.999999995, 8, "179.99999999"},
        {-45.123456785, 8, "-45.12345679"}, {98765432.1, 8, "98765432.09999999"},
        {4503599627.3705, 3, "4503599627.370"}, {1e15, 3, "1000000000000000.000"},
        {4503599627370496.0, 0, "4503599627370496"}, {9007199254740993.0, 0, "9007199254740992"},
        {5e-324, 3, "0.000"},          {860690.5225, 3, "860690.522"}, {6319037.0475, 3, "6319037.048"},
    };
    for (const auto& c : cases) {
        std::string got;
        appendFixed(got, c.value, c.decimals);
        EXPECT_EQ(got, c.text) << c.value << " with " << c.decimals << " decimals";
    }
}

TEST(AppendFixed, AgreesWithPrintfOnManyValues) {
    std::vector<double> values;
    std::mt19937_64 random(20260);
    std::uniform_real_distribution<double> uniform(-1e7, 1e7);
    for (int k = 0; k < 20000; ++k) values.push_back(uniform(random));
    for (int k = -4000; k < 4000; ++k) values.push_back(k / 16.0 + 0.03125 * (k % 3));
    for (int k = 0; k < 4000; ++k) values.push_back(k / 1024.0 + 1e6);
    // Decimal boundaries and their neighbours: x.xxx5 and x.xxxxxxxx5.
    for (int k = 0; k < 3000; ++k) {
        const double boundary = (k * 7919 % 100000000) / 1000.0 + 0.0005;
        values.push_back(boundary);
        values.push_back(std::nextafter(boundary, 0.0));
        values.push_back(std::nextafter(boundary, 1e300));
        const double fine = k * 0.0123456789 + 5e-9;
        values.push_back(fine);
        values.push_back(std::nextafter(fine, 0.0));
        values.push_back(-std::nextafter(fine, 1e300));
    }
    // Around the largest scaled magnitude (2^52) for each count of decimals.
    for (int d = 0; d <= 9; ++d) {
        const double limit = 4503599627370496.0 / std::pow(10.0, d);
        for (double v = std::nextafter(limit, 0.0), n = 0; n < 5; v = std::nextafter(v, 0.0), ++n) {
            values.push_back(v);
            values.push_back(-v);
        }
        for (double v = limit, n = 0; n < 5; v = std::nextafter(v, 1e300), ++n) values.push_back(v);
    }
    for (double v : values)
        for (int decimals : {0, 1, 3, 6, 8, 9, 10}) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
            std::string got;
            appendFixed(got, v, decimals);
            ASSERT_EQ(got, expected) << std::hexfloat << v << " with " << decimals << " decimals";
        }
}

// Decimal texts read to the same bits as the general conversion (strtod) reads them, including
// the ones the short path leaves to it: long mantissas, many decimals, exponents.
TEST(FieldScanner, ReadsRealsToTheBitsStrtodGives) {
    std::vector<std::string> texts = {
        "0.1", "814149.529", "-1887019.768", "0", "-0", "-0.0", "00000000000000000000001.5", ".5", "5.",
        "9007199254740991", "9007199254740992", "9007199254740993", "900719925474099.3", "123456789012345678901234",
        "0.0000000000000000000001", "0.00000000000000000000001", "1.50000000000000000000", "1e5", "1.5e-3",
        "4.9406564584124654e-324", "1.7976931348623157e308", "2.2250738585072014e-308", "3.14159265358979323846",
        "45.301550", "-1.3000000000", "1234567.8901234567",
    };
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> uniform(-2e7, 2e7);
    char buffer[64];
    for (int k = 0; k < 20000; ++k) {
        const double v = uniform(random);
        for (const char* format : {"%.3f", "%.9f", "%.17g", "%.1f"}) {
            std::snprintf(buffer, sizeof buffer, format, v);
            texts.push_back(buffer);
        }
    }
    // The number ends where strtod stops, whatever follows it: the end of the text, blanks, or
    // bytes just beyond the digits ('/' and ':'), a letter or a byte of ISO 8859-1.
    const std::string suffixes[] = {"", " 1", "/9", ":12345678", "\xE9" "abcdefgh"};
    for (const std::string& text : texts)
        for (const std::string& suffix : suffixes) {
            const std::string whole = text + suffix;
            FieldScanner scanner(whole);
            double got = 0;
            ASSERT_TRUE(scanner.readDouble(got)) << whole;
            EXPECT_EQ(scanner.rest(), suffix) << whole;
            const double expected = std::strtod(whole.c_str(), nullptr);
            ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << whole << ": " << std::hexfloat << got << " for "
                                                                    << expected;
        }
}

}  // namespace
}  // namespace zelvo
