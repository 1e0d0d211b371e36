#include "platform/number_text.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cmath>

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
    if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) GTEST_SKIP() << "no French locale on this machine";
    std::string got;
    appendFixed(got, 1234.5, 2);
    double v = 0;
    const bool parsed = parseDouble("3.25", v);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(got, "1234.50");
    EXPECT_TRUE(parsed);
    EXPECT_EQ(v, 3.25);
}

}  // namespace
}  // namespace zelvo
