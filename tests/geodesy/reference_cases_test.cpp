// The published batch cases of the shared reference folder that exercise the kernel alone
// (projection, inverse projection and standard transformation rows), run through the kernel's
// functions in the order of the per-point chain, without geoid (the rows use mode 0: height 0).

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>

#include "catalogue/catalogue.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/datum.hpp"
#include "geodesy/ellipsoid.hpp"
#include "platform/number_text.hpp"
#include "reference_tools.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

struct Side {
    int system = 0;
    int type = 0;
    int unit = 0;
    int meridian = 0;
    int projection = 0;
};

struct BatchCase {
    std::string id;
    Side from, to;
    double e = 0, n = 0, lon = 0, lat = 0, x = 0, y = 0, z = 0;
    std::vector<double> expected, tolerance;
};

bool isOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-' && std::isalpha(word[1]);
}

BatchCase parseCase(const test::ReferenceCase& reference) {
    BatchCase c;
    c.id = reference.id;
    const std::vector<std::string>& words = reference.args;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& option = words[i];
        std::vector<double> values;
        while (i + 1 < words.size() && !isOption(words[i + 1])) values.push_back(leadingDouble(words[++i]));
        const auto at = [&](std::size_t k) { return k < values.size() ? values[k] : 0.0; };
        if (option == "-sys1") c.from.system = static_cast<int>(at(0));
        if (option == "-sys2") c.to.system = static_cast<int>(at(0));
        for (auto [name, side] : {std::pair{"-typcoor1", &c.from}, std::pair{"-typcoor2", &c.to}})
            if (option == name) {
                side->type = static_cast<int>(at(0));
                if (side->type == kGeographic) {
                    side->unit = static_cast<int>(at(1));
                    side->meridian = static_cast<int>(at(2));
                }
                if (side->type == kProjected) side->projection = static_cast<int>(at(1));
            }
        if (option == "-E") c.e = at(0);
        if (option == "-N") c.n = at(0);
        if (option == "-lon") c.lon = at(0);
        if (option == "-lat") c.lat = at(0);
        if (option == "-x") c.x = at(0);
        if (option == "-y") c.y = at(0);
        if (option == "-z") c.z = at(0);
    }
    c.expected = reference.expected;
    c.tolerance = reference.tolerance;
    return c;
}

CSysCoor system(const Catalogue& catalogue, const Side& side) {
    CSysCoor sys;
    initSysCoor(sys, catalogue, side.system, side.meridian, 0, side.projection);
    if (side.type != kProjected) sys.projection = nullptr;
    return sys;
}

TEST(ReferenceCases, KernelRowsAgreeWithProj) {
    for (const test::ReferenceSet& set : test::referenceSets()) {
        SCOPED_TRACE(set.name);
        Catalogue catalogue;
        std::string why;
        ASSERT_TRUE(test::loadReferenceCatalogue(catalogue, why, set.dir)) << why;
        const CLgo* greenwich = greenwichMeridian(catalogue);
        int run = 0;
        for (const test::ReferenceCase& reference : test::loadReferenceCases(set.cases)) {
            const std::string& id = reference.id;
            if (id.rfind("proj_", 0) != 0 && id.rfind("inv_", 0) != 0 && id.rfind("std", 0) != 0) continue;
            const BatchCase c = parseCase(reference);
            std::string args;
            for (const std::string& word : reference.args) args += " " + word;
            SCOPED_TRACE(id + ":" + args);

            CCoor point;
            point.type = c.from.type;
            point.unit = c.from.unit;
            point.sys = system(catalogue, c.from);
            point.e = c.e;
            point.n = c.n;
            point.lon = c.lon;
            point.lat = c.lat;
            point.x = c.x;
            point.y = c.y;
            point.z = c.z;
            point.h = 0.0;
            const CSysCoor arrival = system(catalogue, c.to);
            if (c.from.system != c.to.system) {
                ASSERT_EQ(standardTransform(point, arrival, catalogue), 0);
            }
            ASSERT_EQ(point.toGeographic(greenwich), 0);
            std::vector<double> got;
            switch (c.to.type) {
                case kCartesian:
                    // A 2-D system's point is taken at height 0 on its ellipsoid and keeps the height
                    // the similarity gives it.
                    ASSERT_EQ(point.toCartesian(greenwich), 0);
                    got = {point.x, point.y, point.z};
                    break;
                case kGeographic:
                    point.setUnit(c.to.unit);
                    point.changeMeridian(arrival.meridian);
                    got = {point.lon, point.lat};
                    break;
                default:
                    ASSERT_EQ(point.toProjected(arrival.projection, greenwich), 0);
                    got = {point.e, point.n};
                    break;
            }
            ASSERT_EQ(got.size(), c.expected.size());
            for (std::size_t k = 0; k < got.size(); ++k)
                EXPECT_NEAR(got[k], c.expected[k], c.tolerance[k]) << "value " << k;
            ++run;
        }
        EXPECT_GT(run, 0) << "no kernel row in " << set.cases;
    }
}

}  // namespace
}  // namespace zelvo
