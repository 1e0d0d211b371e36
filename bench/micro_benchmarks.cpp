// Micro-benchmarks of the per-point kernels: the projections forward and inverse, the geographic
// and cartesian conversions, the similarity, the grid interpolations, and the reading and
// writing of point lines. Each benchmark walks a small table of positions over France so that
// branch prediction does not see one point only.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include <unistd.h>

#include "catalogue/records.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/datum.hpp"
#include "geodesy/ellipsoid.hpp"
#include "geodesy/projection.hpp"
#include "grids/grid.hpp"
#include "platform/number_text.hpp"

namespace zelvo {
namespace {

constexpr double kDeg = kPi / 180.0;

CElg ellipsoid(double a, double e2) {
    CElg e;
    e.semiMajorAxis = a;
    e.eccentricitySquared = e2;
    return e;
}

const CElg kClarke = ellipsoid(6378249.2, 0.006803487646300);
const CElg kGrs80 = ellipsoid(6378137.0, 0.006694380022901);
const CElg kHayford = ellipsoid(6378388.0, 0.006722670022333);
const CElg kWgs84 = ellipsoid(6378137.0, 0.006694379990141);

CLgo meridian(int number, int unit, double longitude) {
    CLgo m;
    m.number = number;
    m.unit = unit;
    m.longitude = longitude;
    return m;
}

const CLgo kGreenwich = meridian(1, kDecimalDegrees, 0.0);
const CLgo kParis = meridian(2, kGrads, 2.5969213);

struct Definition {
    const char* name;
    int variant, kind, unit;
    double lon0, lat0, k0, lat1, lat2, x0, y0;
    const CElg* ellipsoid;
    const CLgo* meridian;
    double lonDeg, latDeg;  // centre of the positions the benchmark walks
};

// The catalogue's projections of each kind.
const Definition kDefinitions[] = {
    {"LambertIIEtendu", 1, 1, kGrads, 0, 52, 0.99987742, 0, 0, 600000, 2200000, &kClarke, &kParis, 2.5, 46.5},
    {"Lambert93", 3, 1, kDecimalDegrees, 3, 46.5, 1, 44, 49, 700000, 6600000, &kGrs80, &kGreenwich, 2.5, 46.5},
    {"Utm31", 0, 2, kDecimalDegrees, 3, 0, 0.9996, 0, 0, 500000, 0, &kWgs84, &kGreenwich, 3.5, 45.5},
    {"GaussLabordeReunion", 0, 5, kPackedDms, 55.32, -21.07, 1, 0, 0, 160000, 50000, &kHayford, &kGreenwich, 55.5,
     -21.1},
    {"LaeaEurope", 0, 6, kDecimalDegrees, 10, 52, 1, 0, 0, 4321000, 3210000, &kGrs80, &kGreenwich, 5.0, 48.0},
};

CPrc projection(const Definition& d) {
    CPrc p;
    p.number = 1;
    p.name = d.name;
    p.variant = d.variant;
    p.kind = d.kind;
    p.unit = d.unit;
    p.longitudeOrigin = d.lon0;
    p.latitudeOrigin = d.lat0;
    p.scaleFactor = d.k0;
    p.parallel1 = d.lat1;
    p.parallel2 = d.lat2;
    p.falseEasting = d.x0;
    p.falseNorthing = d.y0;
    p.ellipsoid = d.ellipsoid;
    p.meridian = d.meridian;
    return p;
}

// 64 positions (radians) within a degree of a centre.
std::vector<LonLat> positions(double lonDeg, double latDeg) {
    std::vector<LonLat> out;
    for (int k = 0; k < 64; ++k) {
        const double s = std::sin(k * 1.7), c = std::cos(k * 0.9);
        out.push_back({(lonDeg + s) * kDeg, (latDeg + 0.8 * c) * kDeg});
    }
    return out;
}

void projectionForward(benchmark::State& state, const Definition& d) {
    const CPrc p = projection(d);
    const auto points = positions(d.lonDeg, d.latDeg);
    const CompiledProjection compiled(p, d.ellipsoid->semiMajorAxis, d.ellipsoid->eccentricitySquared);
    ProjectedPoint out;
    std::size_t k = 0;
    for (auto _ : state) {
        const LonLat& g = points[k++ & 63];
        compiled.forward(g.lon, g.lat, out);
        benchmark::DoNotOptimize(out);
    }
}

std::vector<PlaneEn> projectedPositions(const CPrc& p, const Definition& d) {
    std::vector<PlaneEn> points;
    for (const LonLat& g : positions(d.lonDeg, d.latDeg)) {
        ProjectedPoint out;
        projectForward(p, d.ellipsoid->semiMajorAxis, d.ellipsoid->eccentricitySquared, g.lon, g.lat, out);
        points.push_back(out.plane);
    }
    return points;
}

void projectionInverse(benchmark::State& state, const Definition& d) {
    const CPrc p = projection(d);
    const std::vector<PlaneEn> points = projectedPositions(p, d);
    const CompiledProjection compiled(p, d.ellipsoid->semiMajorAxis, d.ellipsoid->eccentricitySquared);
    LonLat out;
    std::size_t k = 0;
    for (auto _ : state) {
        const PlaneEn& en = points[k++ & 63];
        compiled.inverse(en.e, en.n, out);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

// Inverses computed together, as a file run's worker does for the lines it reads ahead.
void projectionInverseTogether(benchmark::State& state, const Definition& d) {
    const CPrc p = projection(d);
    const std::vector<PlaneEn> points = projectedPositions(p, d);
    constexpr std::size_t kTogether = kLatitudeLanes;
    std::array<LonLat, kTogether> out;
    const CompiledProjection compiled(p, d.ellipsoid->semiMajorAxis, d.ellipsoid->eccentricitySquared);
    std::size_t k = 0;
    for (auto _ : state) {
        compiled.inverse(std::span(points).subspan(k, kTogether), out);
        k = (k + kTogether) % (points.size() - kTogether);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * kTogether);
}

void registerProjections() {
    for (const Definition& d : kDefinitions) {
        benchmark::RegisterBenchmark((std::string("ProjectForward/") + d.name).c_str(), projectionForward, d);
        benchmark::RegisterBenchmark((std::string("ProjectInverse/") + d.name).c_str(), projectionInverse, d);
        benchmark::RegisterBenchmark((std::string("ProjectInverseTogether/") + d.name).c_str(),
                                     projectionInverseTogether, d);
    }
}

void BM_GeographicToCartesian(benchmark::State& state) {
    const auto points = positions(2.5, 46.5);
    std::size_t k = 0;
    for (auto _ : state) {
        const LonLat& g = points[k++ & 63];
        benchmark::DoNotOptimize(geographicToCartesian(kGrs80.semiMajorAxis, kGrs80.eccentricitySquared, g.lon,
                                                       g.lat, 250.0));
    }
}
BENCHMARK(BM_GeographicToCartesian);

void BM_CartesianToGeographic(benchmark::State& state) {
    std::vector<CartesianXyz> points;
    for (const LonLat& g : positions(2.5, 46.5))
        points.push_back(geographicToCartesian(kGrs80.semiMajorAxis, kGrs80.eccentricitySquared, g.lon, g.lat, 250.0));
    std::size_t k = 0;
    for (auto _ : state) {
        const CartesianXyz& c = points[k++ & 63];
        benchmark::DoNotOptimize(
            cartesianToGeographic(c.x, c.y, c.z, kGrs80.semiMajorAxis, kGrs80.eccentricitySquared));
    }
}
BENCHMARK(BM_CartesianToGeographic);

void BM_Similarity(benchmark::State& state) {
    const bool inverse = state.range(0) == 1;
    CartesianXyz c{4201000.0, 177000.0, 4779000.0};
    const double s = 1e-6 / 3600 * kDeg;
    for (auto _ : state) {
        c = inverse ? applySimilarityInverse(446.448, -125.157, 542.06, -20.489e-6, 0.15 * s, 0.247 * s, 0.842 * s,
                                             c.x, c.y, c.z)
                    : applySimilarity(446.448, -125.157, 542.06, -20.489e-6, 0.15 * s, 0.247 * s, 0.842 * s, c.x,
                                      c.y, c.z);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_Similarity)->ArgName("inverse")->Arg(0)->Arg(1);

// A three-value grid over France like the NTF to RGF93 translation grid (synthetic values),
// written to a temporary folder and opened in full once.
class GridFixture {
public:
    GridFixture() {
        folder_ = std::filesystem::temp_directory_path() / ("zelvo-micro-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        const std::string base = (folder_ / "translations").string();
        std::ofstream mnt(base + ".mnt", std::ios::binary);
        mnt << "-5.5 10 41 52 0.1 0.1 2 0 3 0 0 0 0 grille de banc d'essai\r\n";
        char line[96];
        for (int j = 110; j >= 0; --j)
            for (int i = 0; i <= 155; ++i) {
                std::snprintf(line, sizeof line, "%.3f %.3f %.3f\r\n", -168.0 + 0.01 * i - 0.02 * j,
                              -60.0 + 0.005 * j, 320.0 + 0.003 * (i + j));
                mnt << line;
            }
        mnt.close();
        std::ofstream xml(base + ".xml", std::ios::binary);
        xml << "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<GRID_HEADER>\r\n"
               "\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\r\n</GRID_HEADER>\r\n";
        xml.close();
        grid.header.NAME = base + ".mnt";
        message = grid.open(0).message;
    }
    ~GridFixture() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    CGrille3D grid;
    std::string message;

private:
    std::filesystem::path folder_;
};

GridFixture& gridFixture() {
    static GridFixture fixture;
    return fixture;
}

void gridInterpolation(benchmark::State& state, int type, int order) {
    GridFixture& fixture = gridFixture();
    if (!fixture.message.empty()) {
        state.SkipWithError(fixture.message.c_str());
        return;
    }
    fixture.grid.header.INTERPOLATION_ORDER = order;
    const auto points = positions(2.5, 46.5);
    std::vector<double> values;
    int code = 0;
    std::size_t k = 0;
    for (auto _ : state) {
        const LonLat& g = points[k++ & 63];
        fixture.grid.apply(3, {g.lon / kDeg, g.lat / kDeg, 0.0}, values, code, type);
        benchmark::DoNotOptimize(values.data());
    }
}

void BM_GridBilinear(benchmark::State& state) { gridInterpolation(state, kInterpolationBilinear, 0); }
BENCHMARK(BM_GridBilinear);

void BM_GridSpline(benchmark::State& state) {
    gridInterpolation(state, kInterpolationSpline, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_GridSpline)->ArgName("order")->Arg(4)->Arg(6);

// Point lines as the files hold them.
const std::array<std::string, 4> kLines = {
    "PT0000001 814149.529 1887019.768 123.456",
    "  B12-345   601234.500   2428123.250    1520.03",
    "PT0000003 330000.0 2360000.0 -2.5",
    "station_nord 1002345.125 2601234.875 87.0",
};

void BM_ParsePointLine(benchmark::State& state) {
    std::string name;
    double v[3];
    std::size_t k = 0;
    for (auto _ : state) {
        FieldScanner scanner(kLines[k++ & 3]);
        scanner.readWord(name);
        for (double& value : v) scanner.readDouble(value);
        benchmark::DoNotOptimize(v);
        benchmark::DoNotOptimize(name.data());
    }
}
BENCHMARK(BM_ParsePointLine);

void BM_FormatProjectedLine(benchmark::State& state) {
    const double values[4][3] = {{860690.522, 6319037.047, 123.456},
                                 {652546.364, 6861462.311, 1520.03},
                                 {380939.211, 6795633.257, -2.5},
                                 {1042505.178, 6298216.019, 0.0005}};
    std::string line;
    std::size_t k = 0;
    for (auto _ : state) {
        const double* v = values[k++ & 3];
        line.clear();
        line += "           PT0000001";
        for (int c = 0; c < 3; ++c) {
            line += "   ";
            appendFixed(line, v[c], c < 2 ? 12 : 8, 3);
        }
        line += "\r\n";
        benchmark::DoNotOptimize(line.data());
    }
}
BENCHMARK(BM_FormatProjectedLine);

void BM_FormatAngle(benchmark::State& state) {
    const int unit = static_cast<int>(state.range(0));
    const double values[4] = {2.35, 48.85, -1.5083333333, 43.7};
    std::string line;
    std::size_t k = 0;
    for (auto _ : state) {
        line.clear();
        appendAngle(line, convertAngle(values[k++ & 3], kDecimalDegrees, unit), unit);
        benchmark::DoNotOptimize(line.data());
    }
}
BENCHMARK(BM_FormatAngle)->ArgName("unit")->Arg(kDecimalDegrees)->Arg(kPackedDms)->Arg(kGrads);

}  // namespace
}  // namespace zelvo

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    zelvo::registerProjections();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
