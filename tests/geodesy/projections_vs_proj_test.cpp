// Every projection of the reference catalogue against PROJ's cs2cs, over a lattice of points
// covering each of its extents, forward and inverse.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

#include "geodesy/projection.hpp"
#include "platform/number_text.hpp"
#include "reference_tools.hpp"

namespace zelvo {
namespace {

constexpr double kDegree = 3.141592653589793 / 180.0;

// A catalogue angle as decimal degrees for a PROJ string, read independently of the angle code
// under test: the packed form is taken apart from its printed digits.
double degreesForProj(double value, int unit) {
    switch (unit) {
        case 1:
            return value / kDegree;
        case 3:
            return value * 0.9;
        case 10: {
            const std::string text = formatFixed(std::fabs(value), 10);
            const std::size_t dot = text.find('.');
            const double d = std::stod(text.substr(0, dot));
            const double m = std::stod(text.substr(dot + 1, 2));
            const double s = std::stod(text.substr(dot + 3, 2) + "." + text.substr(dot + 5));
            return std::copysign(d + m / 60.0 + s / 3600.0, value);
        }
        default:
            return value;
    }
}

std::string number(double v) {
    return formatFixed(v, 12);
}

std::string ellipsoidParameters(const CElg& e) {
    return " +a=" + formatFixed(e.semiMajorAxis, 4) + " +es=" + formatFixed(e.eccentricitySquared, 18);
}

// The PROJ definition of a catalogue projection on the given ellipsoid. The meridian of the
// projection is given as +pm, or folded into +lon_0 (proj -V computes its convergence from
// Greenwich longitudes, ignoring +pm).
std::string projDefinition(const CPrc& p, const CElg& ellipsoid, bool foldMeridian = false) {
    const bool shifted = p.kind != 5 && p.meridian != nullptr && p.meridian->number != 1;
    const auto deg = [&](double v) { return number(degreesForProj(v, p.unit)); };
    std::string s;
    switch (p.kind) {
        case 1:
            if (p.variant == 3)
                s = "+proj=lcc +lat_1=" + deg(p.parallel1) + " +lat_2=" + deg(p.parallel2) +
                    " +lat_0=" + deg(p.latitudeOrigin);
            else
                s = "+proj=lcc +lat_1=" + deg(p.latitudeOrigin) + " +lat_0=" + deg(p.latitudeOrigin) +
                    " +k_0=" + number(p.scaleFactor);
            break;
        case 2:
        case 3:
            s = "+proj=tmerc +lat_0=" + deg(p.latitudeOrigin) + " +k_0=" + number(p.scaleFactor);
            break;
        case 5:
            s = "+proj=gstmerc +lat_0=" + deg(p.latitudeOrigin) + " +k_0=" + number(p.scaleFactor);
            break;
        case 6:
            s = "+proj=laea +lat_0=" + deg(p.latitudeOrigin);
            break;
        default:
            return std::string();
    }
    const double meridianDegrees = shifted ? degreesForProj(p.meridian->longitude, p.meridian->unit) : 0.0;
    const double lon0 = degreesForProj(p.longitudeOrigin, p.unit) + (foldMeridian ? meridianDegrees : 0.0);
    s += " +lon_0=" + number(lon0) + " +x_0=" + number(p.falseEasting) + " +y_0=" + number(p.falseNorthing) +
         ellipsoidParameters(ellipsoid);
    if (shifted && !foldMeridian)
        s += p.meridian->name == "Paris" ? std::string(" +pm=paris") : " +pm=" + number(meridianDegrees);
    return s + " +no_defs";
}

TEST(ProjectionsAgainstProj, EveryCatalogueProjectionOverItsExtents) {
    if (!test::cs2csAvailable()) ZELVO_MISSING_PREREQUISITE("PROJ's cs2cs is not installed (Debian package proj-bin)");
    Catalogue catalogue;
    std::string why;
    ASSERT_TRUE(test::loadReferenceCatalogue(catalogue, why)) << why;

    int compared = 0;
    for (const CZone& extent : catalogue.projectionExtents) {
        const CPrc* p = findByNumber(catalogue.projections, extent.prcNumber);
        const CReg* system = findByNumber(catalogue.systems, extent.regNumber);
        ASSERT_NE(p, nullptr);
        ASSERT_NE(system, nullptr);
        ASSERT_NE(system->ellipsoid, nullptr);
        // The Lambert constants come from the projection's ellipsoid, the rest from the system's;
        // the catalogue pairs them.
        if (p->kind == 1) {
            ASSERT_EQ(p->ellipsoid, system->ellipsoid) << p->name;
        }
        const CElg& ellipsoid = *system->ellipsoid;
        const double a = ellipsoid.semiMajorAxis, e2 = ellipsoid.eccentricitySquared;
        const std::string geographic = "+proj=longlat" + ellipsoidParameters(ellipsoid) + " +no_defs";
        const std::string projected = projDefinition(*p, ellipsoid);
        SCOPED_TRACE(p->name + " in " + system->name + ": " + projected);

        const double lon0 = degreesForProj(extent.min.lon, extent.min.unit);
        const double lon1 = degreesForProj(extent.max.lon, extent.max.unit);
        const double lat0 = degreesForProj(extent.min.lat, extent.min.unit);
        const double lat1 = degreesForProj(extent.max.lat, extent.max.unit);
        std::vector<std::array<double, 3>> lattice;
        constexpr int kSteps = 12;
        for (int i = 0; i <= kSteps; ++i)
            for (int j = 0; j <= kSteps; ++j)
                lattice.push_back(
                    {lon0 + (lon1 - lon0) * i / kSteps, lat0 + (lat1 - lat0) * j / kSteps, 0.0});

        const auto forward = test::runCs2cs(geographic, projected, lattice);
        ASSERT_EQ(forward.size(), lattice.size()) << "cs2cs did not run";
        const auto inverse = test::runCs2cs(projected, geographic, forward);
        ASSERT_EQ(inverse.size(), forward.size()) << "cs2cs did not run";

        double maxE = 0, maxN = 0, maxLon = 0, maxLat = 0;
        for (std::size_t i = 0; i < lattice.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "lon " << lattice[i][0] << "° lat " << lattice[i][1] << "°");
            ProjectedPoint mine;
            ASSERT_EQ(projectForward(*p, a, e2, lattice[i][0] * kDegree, lattice[i][1] * kDegree, mine), 0);
            EXPECT_NEAR(mine.plane.e, forward[i][0], 1e-3);
            EXPECT_NEAR(mine.plane.n, forward[i][1], 1e-3);
            maxE = std::max(maxE, std::fabs(mine.plane.e - forward[i][0]));
            maxN = std::max(maxN, std::fabs(mine.plane.n - forward[i][1]));

            LonLat back;
            ASSERT_EQ(projectInverse(*p, a, e2, forward[i][0], forward[i][1], back), 0);
            EXPECT_NEAR(back.lat, inverse[i][1] * kDegree, 1e-9);
            maxLat = std::max(maxLat, std::fabs(back.lat - inverse[i][1] * kDegree));
            EXPECT_GT(back.lon, -3.141592653589793);
            EXPECT_LE(back.lon, 3.141592653589793);
            if (std::fabs(lattice[i][1]) < 90.0 - 1e-6) {  // the longitude of a pole is arbitrary
                const double dLon = std::remainder(back.lon - inverse[i][0] * kDegree, 2 * 3.141592653589793);
                EXPECT_NEAR(dLon, 0.0, 1e-9);
                maxLon = std::max(maxLon, std::fabs(dLon));
            }
        }
        std::cout << "[ cs2cs    ] PRC " << p->number << " " << p->name << " / REG " << system->number
                  << ": forward max |dE| " << maxE << " m, |dN| " << maxN << " m; inverse max |dlon| "
                  << maxLon << " rad, |dlat| " << maxLat << " rad\n";
        ++compared;
    }
    EXPECT_GT(compared, 0) << "the reference catalogue has no projection extent";
}

TEST(ProjectionsAgainstProj, ScaleFactorAndConvergence) {
    if (!std::filesystem::exists("/usr/bin/proj"))
        ZELVO_MISSING_PREREQUISITE("PROJ's proj is not installed (Debian package proj-bin)");
    Catalogue catalogue;
    std::string why;
    ASSERT_TRUE(test::loadReferenceCatalogue(catalogue, why)) << why;
    for (const CZone& extent : catalogue.projectionExtents) {
        const CPrc* p = findByNumber(catalogue.projections, extent.prcNumber);
        const CReg* system = findByNumber(catalogue.systems, extent.regNumber);
        ASSERT_TRUE(p != nullptr && system != nullptr && system->ellipsoid != nullptr);
        if (p->kind == 6) continue;  // the equal-area projection computes neither
        const CElg& ellipsoid = *system->ellipsoid;
        const std::string definition = projDefinition(*p, ellipsoid, true);
        SCOPED_TRACE(p->name + " in " + system->name + ": " + definition);
        std::vector<std::array<double, 2>> lattice;
        constexpr int kSteps = 6;
        for (int i = 0; i <= kSteps; ++i)
            for (int j = 0; j <= kSteps; ++j)
                lattice.push_back({extent.min.lon + (extent.max.lon - extent.min.lon) * i / kSteps,
                                   extent.min.lat + (extent.max.lat - extent.min.lat) * j / kSteps});
        const auto factors = test::runProjFactors(definition, lattice);
        ASSERT_EQ(factors.size(), lattice.size()) << "proj did not run";
        // Transverse Mercator takes the spherical forms k = k0 cosh((E − Xs)/a) and
        // γ = −atan(sin φ tan Δλ): within 2e-5 (20 mm/km) and 1e-4° (0.4″) of the ellipsoidal
        // values over these extents. The other families are exact, up to PROJ's 8 printed decimals.
        const bool tm = p->kind == 2 || p->kind == 3;
        double maxK = 0, maxGamma = 0;
        for (std::size_t i = 0; i < lattice.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "lon " << lattice[i][0] << "° lat " << lattice[i][1] << "°");
            ProjectedPoint mine;
            ASSERT_EQ(projectForward(*p, ellipsoid.semiMajorAxis, ellipsoid.eccentricitySquared,
                                     lattice[i][0] * kDegree, lattice[i][1] * kDegree, mine),
                      0);
            ASSERT_TRUE(mine.hasScale);
            EXPECT_NEAR(mine.scale.k, factors[i].k, tm ? 2e-5 : 2e-8);
            // This system counts the convergence the other way round: γ = n (λc − λ) in Lambert.
            EXPECT_NEAR(mine.scale.gamma / kDegree, -factors[i].convergenceDegrees, tm ? 1e-4 : 2e-8);
            maxK = std::max(maxK, std::fabs(mine.scale.k - factors[i].k));
            maxGamma =
                std::max(maxGamma, std::fabs(mine.scale.gamma / kDegree + factors[i].convergenceDegrees));
        }
        std::cout << "[ proj -V  ] PRC " << p->number << " " << p->name << " / REG " << system->number
                  << ": max |dk| " << maxK << ", max |dγ| " << maxGamma << "°\n";
    }
}

}  // namespace
}  // namespace zelvo
