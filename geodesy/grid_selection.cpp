#include "geodesy/grid_selection.hpp"

#include <algorithm>
#include <optional>

#include "geodesy/angles.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/datum.hpp"
#include "geodesy/ellipsoid.hpp"
#include "geodesy/geographic_shift.hpp"
#include "geodesy/grid_open_report.hpp"
#include "geodesy/precision.hpp"
#include "geodesy/status.hpp"
#include "grids/grid_vocabulary.hpp"
#include "resources/file_texts.hpp"

namespace zelvo {
namespace {

// Grid unit argument of the interpolations: positions in decimal degrees.
constexpr int kDegreesGridUnit = 3;

int systemNumber(const CSysCoor& sys) { return sys.system != nullptr ? sys.system->number : 0; }

// Records on a candidate's extent the catalogue system its values are expressed in.
void recordSystem(CZone& extent, const Catalogue& catalogue, int system) {
    extent.regNumber = system;
    const CReg* reg = findByNumber(catalogue.systems, system);
    extent.min.sys.system = reg;
    extent.max.sys.system = reg;
}

// A copy of the point moved by the translations of the record of the given type from its system
// to the arrival system, when that record is used in its direct sense; 600 when there is none.
int preShift(const Catalogue& catalogue, const CCoor& point, const CSysCoor& arrival, int type, CCoor& copy) {
    copy = point;
    copy.toCartesian(greenwichMeridian(catalogue));
    CTransfo transfo;
    if (!findTransformation(catalogue.transformations, systemNumber(point.sys), systemNumber(arrival), type, transfo))
        return kStatusNoTransformation;
    if (transfo.inverse == 0) {
        copy.x += transfo.tsg.tx;
        copy.y += transfo.tsg.ty;
        copy.z += transfo.tsg.tz;
        copy.sys.system = arrival.system;
    }
    return kStatusOk;
}

// A point moved by a grid shift, as cartesian coordinates of the arrival system, with the
// precision code of the grid's value.
void placeInArrival(CCoor& w, const CartesianXyz& moved, int precisionCode, const CSysCoor& arrival) {
    w.x = moved.x;
    w.y = moved.y;
    w.z = moved.z;
    w.precisionCode = precisionCode;
    w.sys.system = arrival.system;
    w.sys.projection = arrival.projection;
    w.sys.vertical = arrival.vertical;
}

// Whether the grid is indexed by positions in the arrival system of its type-2 record (the
// native formats), so that a point going that record's way is first moved into that system.
bool indexedInArrivalSystem(const CGrille& grid) {
    const int format = readFormat(grid.header);
    return format == kFormatTextVrd || format == kFormatBinaryVrd;
}

// The datum shift of a grid of geographic shifts: the point's position on its own ellipsoid,
// shifted forward when it goes to the second system of the grid's entry (backward otherwise), is
// its position on the arrival ellipsoid; the height is kept. The point stays cartesian.
int shiftGeographic(CCoor& w, const CSysCoor& s, const CGrille3D& grid) {
    if (w.sys.system == nullptr || w.sys.system->ellipsoid == nullptr || s.system == nullptr ||
        s.system->ellipsoid == nullptr)
        return kStatusNoTransformation;
    const CElg& from = *w.sys.system->ellipsoid;
    const CElg& to = *s.system->ellipsoid;
    GeographicLonLatH g = cartesianToGeographic(w.x, w.y, w.z, from.semiMajorAxis, from.eccentricitySquared);
    int code = 0;
    if (applyGeographicShift(grid, systemNumber(s) == grid.extent.regNumber, g.lon, g.lat, code) ==
        kInterpolationNotFinite)
        return kStatusGridNodesNotFinite;
    placeInArrival(w, geographicToCartesian(to.semiMajorAxis, to.eccentricitySquared, g.lon, g.lat, g.h), code, s);
    return kStatusOk;
}

// Makes the chosen grid current: kept (usable when its values are in memory) when it is the same
// file, otherwise replaced by the candidate's header, to be loaded by the driver.
template <typename Grid>
void makeCurrent(Grid& current, const Grid& best) {
    if (best.header.NAME == current.header.NAME) {
        current.extent.regNumber = best.extent.regNumber;
        current.extent.min.sys = best.extent.min.sys;
        current.extent.max.sys = best.extent.max.sys;
        current.loaded = current.hasNodeData() ? 1 : 0;
        return;
    }
    current.release();
    current = best;
    current.loaded = 0;
}

// The header of a catalogue entry's grid, with its extent and the entry's system recorded on it.
template <typename Candidate, typename Entry>
const Candidate& candidateFor(std::vector<std::optional<Candidate>>& cache, std::size_t index, int count,
                              const Entry& entry, const GridSelection& grids, int system) {
    if (cache.size() < static_cast<std::size_t>(count)) cache.resize(static_cast<std::size_t>(count));
    auto& slot = cache[index];
    if (!slot) {
        slot.emplace();
        slot->grid.header.NAME = entry.fileName;
        slot->grid.header.sideFileFolder = entry.sideFileFolder;
        slot->opened = openGridFor(slot->grid, 2, grids.ui).opened();
        slot->grid.computeExtent();
        recordSystem(slot->grid.extent, grids.catalogue, system);
    }
    return *slot;
}

}  // namespace

bool CurrentGeoid::usable() const { return grid_.loaded != 0 && grid_.hasNodeData(); }

int CurrentGeoid::systemNumber() const { return grid_.extent.regNumber; }

double CurrentGeoid::undulation(double lonDegrees, double latDegrees, double heightMetres, int& precisionCode) {
    int code = 0;
    if (grid_.interpolate(kDegreesGridUnit, {lonDegrees, latDegrees, heightMetres}, values_, code) ==
        kInterpolationNotFinite) {
        // Nodes without a number: the point is outside the geoid grid, and gets no geoid term.
        precisionCode = kOutsideGeoidGrid;
        return 0.0;
    }
    precisionCode = code;
    return values_.empty() ? 0.0 : values_[0];
}

int selectGeoidGrid(GridSelection& grids, int transformationType, CCoor& departure, CCoor& arrival, CZone& extent,
                    std::string& status) {
    status = texts::kStatusOk;
    const int vertical = departure.sys.vertical != nullptr ? departure.sys.vertical->number : 0;
    if (vertical == 0 || departure.verticalMode == kNoVertical) return -2;

    const Catalogue& catalogue = grids.catalogue;
    const CLgo* greenwich = greenwichMeridian(catalogue);
    const int departureSystem = systemNumber(departure.sys);
    const int arrivalSystem = systemNumber(arrival.sys);
    int result = -1;
    const CGrille1D* best = nullptr;  // a candidate of the run's cache
    const int count = static_cast<int>(catalogue.grids1D.size());
    for (std::size_t index = 0; index < catalogue.grids1D.size(); ++index) {
        const Grid1DEntry& entry = catalogue.grids1D[index];
        if (std::find(entry.reaNumbers.begin(), entry.reaNumbers.end(), vertical) == entry.reaNumbers.end()) continue;
        if (entry.regNumber != departureSystem && entry.regNumber != arrivalSystem) continue;
        result = 0;
        const auto& [opened, candidate] =
            candidateFor(grids.geoidCandidates, index, count, entry, grids, entry.regNumber);
        extent = candidate.extent;
        // A grid that no longer opens cannot hold the point; the start-up check opened it once.
        if (!opened) continue;

        CCoor copy = departure;
        if (entry.regNumber == arrivalSystem && entry.regNumber != departureSystem) {
            if (preShift(catalogue, departure, arrival.sys, transformationType, copy) != kStatusOk)
                return kStatusNoTransformation;
        }
        if (extentContains(candidate.extent, copy, greenwich)) {
            result = 1;
            if (best == nullptr || best->header.Y_INC > candidate.header.Y_INC) best = &candidate;
        }
    }
    if (result == 1) {
        makeCurrent(grids.geoidGrid, *best);
    } else if (result == 0) {
        grids.geoidGrid.loaded = 0;
        departure.geoidPrecisionCode = kOutsideGeoidGrid;
        arrival.geoidPrecisionCode = kOutsideGeoidGrid;
    } else {
        grids.geoidGrid.loaded = 0;
    }
    return result;
}

int select3DGrid(GridSelection& grids, const CCoor& departure, const CSysCoor& arrival, CZone& extent) {
    const int departureSystem = systemNumber(departure.sys);
    const int arrivalSystem = systemNumber(arrival);
    if (departureSystem == arrivalSystem) {
        grids.translationGrid.loaded = 1;
        return 1;
    }
    const Catalogue& catalogue = grids.catalogue;
    const CLgo* greenwich = greenwichMeridian(catalogue);
    int found = 0;
    const CGrille3D* best = nullptr;  // a candidate of the run's cache
    const int count = static_cast<int>(catalogue.grids3D.size());
    for (std::size_t index = 0; index < catalogue.grids3D.size(); ++index) {
        const Grid3DEntry& entry = catalogue.grids3D[index];
        const bool forward = entry.regNumberA == departureSystem && entry.regNumberB == arrivalSystem;
        const bool backward = entry.regNumberA == arrivalSystem && entry.regNumberB == departureSystem;
        if (!forward && !backward) continue;
        const auto& [opened, candidate] =
            candidateFor(grids.translationCandidates, index, count, entry, grids, entry.regNumberB);
        extent = candidate.extent;
        if (!opened) continue;

        CCoor copy = departure;
        if (forward && indexedInArrivalSystem(candidate) &&
            preShift(catalogue, departure, arrival, kGridTransformation, copy) != kStatusOk)
            return kStatusNoTransformation;
        if (extentContains(candidate.extent, copy, greenwich)) {
            found = 1;
            if (best == nullptr || best->header.X_INC > candidate.header.X_INC ||
                best->header.Y_INC > candidate.header.Y_INC)
                best = &candidate;
        }
    }
    if (found == 1) makeCurrent(grids.translationGrid, *best);
    return found;
}

void readCandidateHeaders(GridSelection& grids) {
    const Catalogue& catalogue = grids.catalogue;
    const int count1D = static_cast<int>(catalogue.grids1D.size());
    for (std::size_t index = 0; index < catalogue.grids1D.size(); ++index) {
        const Grid1DEntry& entry = catalogue.grids1D[index];
        candidateFor(grids.geoidCandidates, index, count1D, entry, grids, entry.regNumber);
    }
    const int count3D = static_cast<int>(catalogue.grids3D.size());
    for (std::size_t index = 0; index < catalogue.grids3D.size(); ++index) {
        const Grid3DEntry& entry = catalogue.grids3D[index];
        candidateFor(grids.translationCandidates, index, count3D, entry, grids, entry.regNumberB);
    }
}

bool loadCurrentGrid(GridSelection& grids, CurrentGrid which) {
    CGrille& grid = which == CurrentGrid::Geoid ? static_cast<CGrille&>(grids.geoidGrid)
                                                : static_cast<CGrille&>(grids.translationGrid);
    // The system recorded by the selection is kept across the open.
    const CZone recorded = grid.extent;
    grid.release();
    const bool opened = openGridFor(grid, 0, grids.ui).opened();
    grid.computeExtent();
    grid.extent.regNumber = recorded.regNumber;
    grid.extent.min.sys = recorded.min.sys;
    grid.extent.max.sys = recorded.max.sys;
    if (!opened) grid.loaded = 0;
    return opened;
}

GridShift::GridShift(const Catalogue& catalogue, const CGrille3D& grid, const ChainSteps& steps, const CReg* from,
                     const CReg* to)
    : catalogue_(catalogue), grid_(grid), steps_(steps), from_(from), to_(to) {
    CTransfo transfo;
    found_ = from != nullptr && to != nullptr &&
             findTransformation(catalogue.transformations, from->number, to->number, kGridTransformation, transfo);
    if (found_) {
        inverse_ = transfo.inverse;
        tx_ = transfo.tsg.tx;
        ty_ = transfo.tsg.ty;
        tz_ = transfo.tsg.tz;
    }
}

int GridShift::apply(CCoor& w, const CSysCoor& s) const {
    const CGrille3D& grid = grid_;
    const CLgo* greenwich = steps_.greenwich;
    if (w.type != kCartesian) {
        if (const int status = toCartesian(w, greenwich, steps_.projections); status != kStatusOk) return status;
    }
    if (shiftsGeographicCoordinates(grid)) return shiftGeographic(w, s, grid);
    CCoor probe = w;
    if (indexedInArrivalSystem(grid)) {
        if (w.sys.system != from_ || s.system != to_) return GridShift(catalogue_, grid, steps_, w.sys.system, s.system).apply(w, s);
        if (!found_) return kStatusNoTransformation;
        if (inverse_ == 0) {
            probe.x += tx_;
            probe.y += ty_;
            probe.z += tz_;
            probe.sys.system = s.system;
        }
    }
    probe.toGeographic(greenwich);
    if (probe.unit != grid.extent.min.unit) probe.setUnit(grid.extent.min.unit);
    int code = 0;
    std::vector<double>& v = values_;
    if (grid.interpolate(kDegreesGridUnit, {probe.lon, probe.lat, probe.h}, v, code) == kInterpolationNotFinite)
        return kStatusGridNodesNotFinite;
    v.resize(std::max<std::size_t>(v.size(), 7), 0.0);
    const bool sevenParameters = grid.header.VALUES_NUMBER == 7;
    const double rx = sevenParameters ? convertAngle(v[3], kSecondsOfDegree, kRadians) : 0.0;
    const double ry = sevenParameters ? convertAngle(v[4], kSecondsOfDegree, kRadians) : 0.0;
    const double rz = sevenParameters ? convertAngle(v[5], kSecondsOfDegree, kRadians) : 0.0;
    const double d = sevenParameters ? v[6] * 1e-6 : 0.0;
    // The parameters transform from the first system of the grid's entry to the second.
    const CartesianXyz moved = systemNumber(s) != grid.extent.regNumber
                                   ? applySimilarityInverse(v[0], v[1], v[2], d, rx, ry, rz, w.x, w.y, w.z)
                                   : applySimilarity(v[0], v[1], v[2], d, rx, ry, rz, w.x, w.y, w.z);
    placeInArrival(w, moved, code, s);
    return kStatusOk;
}

int gridPointTransform(CCoor departure, CCoor& arrival, const Catalogue& catalogue, GeoidSource* geoid,
                       const CGrille3D& grid, CCoor* arrivalGeographic) {
    const ChainSteps steps{greenwichMeridian(catalogue), {}};
    const GridShift shift(catalogue, grid, steps, departure.sys.system, arrival.sys.system);
    return pointTransform(std::move(departure), arrival, steps, geoid, shift, arrivalGeographic);
}

}  // namespace zelvo
