#include "catalogue/loader.hpp"

#include <algorithm>
#include <string_view>

#include "catalogue/projection_codes.hpp"
#include "platform/line_reader.hpp"
#include "platform/number_text.hpp"
#include "platform/paths.hpp"
#include "platform/text_encoding.hpp"
#include "resources/catalogue_texts.hpp"

namespace zelvo {
namespace {

constexpr std::size_t kMaxWordLength = 80;

// The conversions of one line, counted as sscanf counts them: scanning stops at the first
// conversion that fails, and later ones do not happen.
class LineScan {
public:
    explicit LineScan(std::string_view line) : scanner_(line) {}

    LineScan& i(int& v) { return step(scanner_.readInt(v)); }
    LineScan& f(double& v) { return step(scanner_.readDouble(v)); }
    LineScan& s(std::string& w) { return step(scanner_.readWord(w, kMaxWordLength)); }
    // Up to count trailing words, joined by single spaces.
    LineScan& name(std::string& joined, int count) {
        joined.clear();
        std::string word;
        for (int k = 0; k < count && !stopped_; ++k) {
            s(word);
            if (stopped_) break;
            if (!joined.empty()) joined += ' ';
            joined += word;
        }
        return *this;
    }
    LineScan& ints(std::vector<int>& values, int count) {
        values.clear();
        int v = 0;
        for (int k = 0; k < count && !stopped_; ++k) {
            i(v);
            if (!stopped_) values.push_back(v);
        }
        return *this;
    }
    int count() const { return count_; }

private:
    LineScan& step(bool converted) {
        if (stopped_) return *this;
        if (converted) ++count_;
        else stopped_ = true;
        return *this;
    }
    FieldScanner scanner_;
    int count_ = 0;
    bool stopped_ = false;
};

bool atLeast(const LineScan& scan, int minimum) { return scan.count() >= minimum; }

class Loader {
public:
    explicit Loader(Catalogue& catalogue) : c_(catalogue) {}

    // Reads one record line; false when it is malformed.
    bool readLine(std::string_view line) {
        static constexpr std::string_view kKeywords[] = {"ELG", "LGO",     "REG",  "REA",  "ZNE",  "TSG",
                                                         "PRC", "TYPCOOR", "UNIT", "PROJ", "GR1D", "GR3D"};
        for (std::size_t k = 0; k < std::size(kKeywords); ++k) {
            if (!line.starts_with(kKeywords[k])) continue;
            switch (k) {
                case 0: return readElg(line);
                case 1: return readLgo(line);
                case 2: return readReg(line);
                case 3: return readRea(line);
                case 4: return readZne(line);
                case 5: return readTsg(line);
                case 6: return readPrc(line);
                case 7: return readCodes(line, 3, 4, c_.coordinateTypes);
                case 8: return readCodes(line, 2, 16, c_.units);
                case 9: return readProj(line);
                case 10: return readGr1d(line);
                case 11: return readGr3d(line);
            }
        }
        return true;  // an unknown keyword is no error
    }

private:
    static std::string utf8(const std::string& latin1) { return latin1ToUtf8(latin1); }

    bool readElg(std::string_view line) {
        CElg r;
        std::string keyword, name;
        LineScan scan(line);
        scan.s(keyword).i(r.number).f(r.semiMajorAxis).f(r.secondParameter).f(r.thirdParameter)
            .f(r.eccentricitySquared).name(name, 5);
        if (!atLeast(scan, 7)) return false;
        r.name = utf8(name);
        c_.ellipsoids.push_back(r);
        return true;
    }

    bool readLgo(std::string_view line) {
        CLgo r;
        std::string keyword, name;
        LineScan scan(line);
        scan.s(keyword).i(r.number).i(r.unit).f(r.longitude).name(name, 5);
        if (!atLeast(scan, 5)) return false;
        r.name = utf8(name);
        c_.meridians.push_back(r);
        return true;
    }

    bool readReg(std::string_view line) {
        CReg r;
        int ellipsoid = 0, meridian = 0;
        std::string keyword, dimension, name;
        LineScan scan(line);
        scan.s(keyword).i(r.number).i(ellipsoid).i(meridian).s(dimension).name(name, 5);
        if (!atLeast(scan, 6)) return false;
        r.name = utf8(name);
        r.dimension = dimension == "2D" ? 2 : dimension == "3D" ? 3 : 0;
        if (!c_.ellipsoids.empty() && !c_.meridians.empty()) {
            r.ellipsoid = findByNumber(c_.ellipsoids, ellipsoid);
            r.meridian = findByNumber(c_.meridians, meridian);
            if (r.ellipsoid == nullptr || r.meridian == nullptr) return false;
        }
        c_.systems.push_back(r);
        return true;
    }

    bool readRea(std::string_view line) {
        CRea r;
        std::string keyword, name;
        LineScan scan(line);
        scan.s(keyword).i(r.number).name(name, 5);
        if (!atLeast(scan, 3)) return false;
        r.name = utf8(name);
        c_.verticalSystems.push_back(r);
        return true;
    }

    static void setCorners(CZone& zone, int unit, double minLon, double minLat, double maxLon, double maxLat) {
        zone.min.unit = unit;
        zone.max.unit = unit;
        zone.min.lon = minLon;
        zone.min.lat = minLat;
        zone.max.lon = maxLon;
        zone.max.lat = maxLat;
    }

    bool readZne(std::string_view line) {
        CZone zone;
        int unit = 0;
        double minLon = 0, minLat = 0, maxLon = 0, maxLat = 0;
        std::string keyword;
        LineScan scan(line);
        scan.s(keyword).i(zone.regNumber).i(unit).f(minLon).f(minLat).f(maxLon).f(maxLat);
        if (scan.count() != 7) return false;
        setCorners(zone, unit, minLon, minLat, maxLon, maxLat);
        c_.systemExtents.push_back(zone);
        return true;
    }

    bool readProj(std::string_view line) {
        CZone zone;
        int unit = 0;
        double minLon = 0, minLat = 0, maxLon = 0, maxLat = 0;
        std::string keyword;
        LineScan scan(line);
        scan.s(keyword).i(zone.regNumber).i(zone.prcNumber).i(unit).f(minLon).f(minLat).f(maxLon).f(maxLat);
        if (scan.count() != 8) return false;
        c_.projectionUses.push_back({zone.regNumber, zone.prcNumber});
        setCorners(zone, unit, minLon, minLat, maxLon, maxLat);
        c_.projectionExtents.push_back(zone);
        return true;
    }

    bool resolveSystems(CTsg& r) {
        r.source = findByNumber(c_.systems, r.sourceNumber);
        r.target = findByNumber(c_.systems, r.targetNumber);
        return r.source != nullptr && r.target != nullptr;
    }

    bool readTsg(std::string_view line) {
        std::string keyword;
        FieldScanner first(line);
        first.readWord(keyword, kMaxWordLength);
        CTsg r;
        LineScan scan(line);
        if (keyword.starts_with("TSG0")) {
            scan.s(keyword).i(r.sourceNumber).i(r.targetNumber).f(r.tx).f(r.ty).f(r.tz);
            if (scan.count() != 6) return false;
            r.type = 2;
        } else {
            scan.s(keyword).i(r.number).i(r.sourceNumber).i(r.targetNumber).i(r.precisionCode).f(r.tx).f(r.ty)
                .f(r.tz).f(r.scale).f(r.rx).f(r.ry).f(r.rz);
            if (scan.count() != 12) return false;
            r.type = 1;
        }
        if (!resolveSystems(r)) return false;
        c_.transformations.push_back(r);
        return true;
    }

    bool readPrc(std::string_view line) {
        CPrc r;
        int ellipsoid = 0, meridian = 0;
        std::string keyword, name;
        LineScan scan(line);
        scan.s(keyword).i(r.number).i(r.variant).i(ellipsoid).f(r.falseEasting).f(r.falseNorthing).i(meridian)
            .i(r.unit).f(r.longitudeOrigin).f(r.latitudeOrigin).f(r.scaleFactor).f(r.parallel1).f(r.parallel2)
            .i(r.spare).i(r.kind);
        // The EPSG method kinds carry the EPSG code of their linear unit before the name.
        const bool epsg = isEpsgMethodKind(r.kind);
        if (epsg) scan.i(r.linearUnit);
        scan.name(name, 10);
        if (!atLeast(scan, epsg ? 17 : 16)) return false;
        if (epsg && linearUnitMetres(r.linearUnit) <= 0.0) return false;
        r.name = name.empty() ? std::string(" ") : utf8(name);
        if (!c_.ellipsoids.empty() && !c_.meridians.empty()) {
            r.ellipsoid = findByNumber(c_.ellipsoids, ellipsoid);
            r.meridian = findByNumber(c_.meridians, meridian);
            if (r.ellipsoid == nullptr || r.meridian == nullptr) return false;
        }
        c_.projections.push_back(r);
        return true;
    }

    // TYPCOOR and UNIT: a system number and up to maxCodes codes, stored last code first.
    bool readCodes(std::string_view line, int minimum, int maxCodes, std::deque<CodeList>& target) {
        CodeList list;
        std::string keyword;
        LineScan scan(line);
        scan.s(keyword).i(list.regNumber).ints(list.codes, maxCodes);
        if (!atLeast(scan, minimum)) return false;
        std::reverse(list.codes.begin(), list.codes.end());
        target.push_back(list);
        return true;
    }

    bool readGr1d(std::string_view line) {
        Grid1DEntry entry;
        std::string keyword, file;
        LineScan scan(line);
        scan.s(keyword).s(file).i(entry.regNumber).ints(entry.reaNumbers, 16);
        if (!atLeast(scan, 3)) return false;
        entry.fileName = utf8(file);
        std::reverse(entry.reaNumbers.begin(), entry.reaNumbers.end());
        c_.grids1D.push_back(entry);
        return true;
    }

    bool readGr3d(std::string_view line) {
        Grid3DEntry entry;
        std::string keyword, file;
        LineScan scan(line);
        scan.s(keyword).s(file).i(entry.regNumberA).i(entry.regNumberB);
        if (!atLeast(scan, 4)) return false;
        entry.fileName = utf8(file);
        c_.grids3D.push_back(entry);
        return true;
    }

    Catalogue& c_;
};

}  // namespace

CatalogueLoadResult loadCatalogue(const std::string& path, Catalogue& catalogue) {
    CatalogueLoadResult result;
    LineReader reader(kCatalogueMaxLineLength);
    // A pipe or a device may never end: only a regular file is read.
    if (!isRegularFileWithin(path) || !reader.open(path)) {
        result.status = CatalogueLoadStatus::Unreadable;
        result.message = std::string(texts::kCannotReadFile) + "\n" + path;
        return result;
    }
    Catalogue loaded;
    Loader loader(loaded);
    std::string line;
    int lineNumber = 0;
    while (true) {
        ++lineNumber;
        if (!reader.readLine(line)) break;
        const bool tooLong = reader.lastLineTooLong();
        if (!tooLong && (line.empty() || line.front() == '*')) continue;
        if (tooLong || !loader.readLine(line)) {
            result.status = CatalogueLoadStatus::Malformed;
            result.lineNumber = lineNumber;
            result.message = std::string(texts::kErrorInFile) + " \"" + path + "\" :\n" + texts::kBadFormatAtLine +
                             " " + std::to_string(lineNumber) + ":\n\n\"" + latin1ToUtf8(line) + "\"";
            return result;
        }
    }
    catalogue = std::move(loaded);
    return result;
}

}  // namespace zelvo
