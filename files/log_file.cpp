#include "files/log_file.hpp"

#include <string>
#include <string_view>

#include "catalogue/projection_codes.hpp"
#include "files/data_formats.hpp"
#include "files/point_file.hpp"
#include "geodesy/datum.hpp"
#include "geodesy/angles.hpp"
#include "platform/number_text.hpp"
#include "platform/text_encoding.hpp"
#include "resources/report_texts.hpp"

namespace zelvo {
namespace {

// Decimals of the numbers of an entry, which have no minimum width.
constexpr int kMetreDecimals = 4;
constexpr int kAngleDecimals = 10;
constexpr int kConvergenceDecimals = 6;
constexpr int kAlterationDecimals = 1;

template <class Record>
std::string_view nameOf(const Record* record) {
    return record != nullptr ? std::string_view(record->name) : std::string_view();
}

void appendLabelled(std::string& out, std::string_view label, double value, int decimals) {
    out += label;
    appendFixed(out, value, decimals);
}

// The system heading and the lines of the point's values; the values' line is left open for the
// vertical part when the point is geographic or projected. False when nothing was written (a point
// of no known type).
bool appendSide(std::string& out, std::string_view heading, const CCoor& p) {
    if (p.type != kCartesian && p.type != kGeographic && p.type != kProjected) return false;
    const CReg* system = p.sys.system;
    // The system's name right-aligned in at least 2 characters, counted as they are written.
    const std::string systemName = latin1ToUtf8(utf8ToLatin1(nameOf(system)));
    out += heading;
    if (utf8Length(systemName) < 2) out.append(2 - utf8Length(systemName), ' ');
    out += systemName;
    out += ' ';
    out += coordinateTypeName(p.type);
    if (p.type == kGeographic) {
        out += ' ';
        out += unitName(p.unit);
    }
    out += '\n';
    if (p.type == kCartesian) {
        appendLabelled(out, "x= ", p.x, kMetreDecimals);
        appendLabelled(out, " y= ", p.y, kMetreDecimals);
        appendLabelled(out, " z= ", p.z, kMetreDecimals);
        out += '\n';
        return true;
    }
    out += texts::kLogEllipsoid;
    out += nameOf(system != nullptr ? system->ellipsoid : nullptr);
    out += '\n';
    if (p.type == kGeographic) {
        out += texts::kLogMeridian;
        out += nameOf(system != nullptr ? system->meridian : nullptr);
        out += '\n';
        appendLabelled(out, "lon= ", p.lon, kAngleDecimals);
        appendLabelled(out, " lat= ", p.lat, kAngleDecimals);
    } else {
        out += texts::kLogProjection;
        out += nameOf(p.sys.projection);
        out += '\n';
        const std::string_view unit = nonMetreUnitLabel(p.sys.projection);
        if (unit.empty()) {
            appendLabelled(out, "E= ", p.e, kMetreDecimals);
            appendLabelled(out, " N= ", p.n, kMetreDecimals);
        } else {
            appendLabelled(out, "E(" + std::string(unit) + ")= ", p.e, kMetreDecimals);
            appendLabelled(out, " N(" + std::string(unit) + ")= ", p.n, kMetreDecimals);
        }
    }
    return true;
}

// The end of the values' line by vertical mode. A grid transformation gives the arrival point
// both its altitude and its ellipsoidal height. A mode other than 1 and 2 has no vertical value.
void appendVertical(std::string& out, const CCoor& p, bool both) {
    if (both && (p.verticalMode == kAltitude || p.verticalMode == kEllipsoidalHeight)) {
        appendLabelled(out, texts::kLogAltitude, p.altitude, kMetreDecimals);
        appendLabelled(out, texts::kLogHeight, p.h, kMetreDecimals);
    } else if (p.verticalMode == kAltitude) {
        appendLabelled(out, texts::kLogAltitude, p.altitude, kMetreDecimals);
    } else if (p.verticalMode == kEllipsoidalHeight) {
        appendLabelled(out, texts::kLogHeight, p.h, kMetreDecimals);
    } else {
        out += texts::kLogNoVertical;
    }
    out += '\n';
}

}  // namespace

void writeLogEntry(Out_Fic& log, const CCoor& departure, const CCoor& arrival, int transformationType) {
    std::string entry = dateStamp(log.clock()) + "\n";
    entry += texts::kLogPoint;
    entry += departure.name;
    entry += texts::kLogTransformation;
    entry += texts::transformationName(transformationType);
    entry += '\n';

    if (appendSide(entry, texts::kLogDepartureSystem, departure) && departure.type != kCartesian)
        appendVertical(entry, departure, false);

    const std::string_view arrivalHeading =
        arrival.type == kGeographic ? texts::kLogGeographicArrivalSystem : texts::kLogArrivalSystem;
    if (appendSide(entry, arrivalHeading, arrival) && arrival.type != kCartesian) {
        appendVertical(entry, arrival, transformationType == kGridTransformation);
        if (arrival.type == kProjected) {
            appendLabelled(entry, texts::kLogConvergence, arrival.convergence, kConvergenceDecimals);
            entry += " (";
            entry += unitName(arrival.convergenceUnit);
            appendLabelled(entry, texts::kLogAlteration, arrival.alteration, kAlterationDecimals);
            entry += texts::kLogAlterationUnit;
            entry += '\n';
        }
    }
    entry += '\n';
    entry += texts::kRule;
    log.writeText(entry);
}

}  // namespace zelvo
