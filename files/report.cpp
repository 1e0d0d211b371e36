#include "files/report.hpp"

#include <string>

#include "catalogue/projection_codes.hpp"
#include "files/data_formats.hpp"
#include "files/point_file.hpp"
#include "geodesy/datum.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/precision.hpp"
#include "platform/number_text.hpp"
#include "platform/text_encoding.hpp"
#include "resources/file_texts.hpp"
#include "resources/report_texts.hpp"

namespace zelvo {
namespace {

template <class Record>
std::string_view nameOf(const Record* record) {
    return record != nullptr ? std::string_view(record->name) : std::string_view();
}

// The value order of a geographic format, or the unit of the heights of a projected one; empty
// when the format is not of the side's type.
std::string_view valueOrder(int coordinateType, int code) {
    if (!isDataFormat(code) || dataFormat(code).coordinateType != coordinateType) return {};
    const DataFormat& format = dataFormat(code);
    if (coordinateType == kProjected)
        return format.thirdIsAltitude ? texts::kReportAltitudeInMetres : texts::kReportHeightInMetres;
    if (format.thirdIsAltitude) return format.latitudeFirst ? texts::kReportLatLonAltitude : texts::kReportLonLatAltitude;
    return format.latitudeFirst ? texts::kReportLatLonHeight : texts::kReportLonLatHeight;
}

// System, ellipsoid with its parameters, then meridian or projection and the value layout.
void appendDescription(std::string& out, const CCoor& p, int code) {
    const CReg* system = p.sys.system;
    const CElg* ellipsoid = system != nullptr ? system->ellipsoid : nullptr;
    out += texts::kReportSystem;
    out += nameOf(system);
    out += '\n';
    out += texts::kReportEllipsoid;
    out += nameOf(ellipsoid);
    // A system without an ellipsoid has no parameters to show: none are made up.
    if (ellipsoid != nullptr) {
        out += texts::kReportSemiMajorAxis;
        appendFixed(out, ellipsoid->semiMajorAxis, 11, 3);
        out += texts::kReportEccentricity;
        appendFixed(out, ellipsoid->eccentricitySquared, 14, 12);
        out += ')';
    }
    out += '\n';
    switch (p.type) {
        case kCartesian:
            out += texts::kReportCartesian;
            break;
        case kGeographic:
            out += texts::kReportMeridian;
            out += nameOf(system != nullptr ? system->meridian : nullptr);
            out += '\n';
            out += texts::kReportGeographic;
            out += unitName(p.unit);
            out += valueOrder(kGeographic, code);
            break;
        case kProjected:
            out += texts::kReportProjection;
            out += nameOf(p.sys.projection);
            out += '\n';
            if (const std::string_view unit = nonMetreUnitLabel(p.sys.projection); unit.empty()) {
                out += texts::kReportProjected;
            } else {
                out += texts::kReportProjectedIn;
                out += unit;
                out += ", ";
            }
            out += valueOrder(kProjected, code);
            break;
        default:
            return;
    }
    // The layout line ends even when the format, not of the side's type, leaves its value order
    // out: the next line of the header never runs into it.
    out += '\n';
}

void writeHeader(Out_Fic& report, const CCoor& d, const CCoor& a, const In_Fic& in, const Out_Fic& out,
                 int transformationType) {
    std::string h = texts::kReportTitle + dateStamp(report.clock()) + "\n";
    h += texts::kReportPublisher;
    h += texts::kReportPublisherLine;
    h += '\n';
    h += texts::kRule;
    h += texts::kReportTransformationType;
    h += texts::transformationName(transformationType);
    h += '\n';
    h += texts::kRule;
    h += texts::kReportDepartureFile + in.path + "\n";
    appendDescription(h, d, in.dataFormat);
    h += '\n';
    h += texts::kReportArrivalFile + out.path + "\n";
    appendDescription(h, a, out.dataFormat);
    if (transformationType == kGridTransformation) {
        h += texts::kRule;
        h += texts::kReportVerticalSystem;
        h += nameOf(a.sys.vertical);
        h += '\n';
    }
    h += texts::kRule;
    h += '\n';
    report.writeText(h);
}

// The values of a point in the layout of a data format, without the name; nothing for a code that
// is no format. "E N Altitude" layouts put three blanks before each value, the others one.
void appendValues(std::string& out, const CCoor& p, int code) {
    if (!isDataFormat(code)) return;
    const DataFormat& format = dataFormat(code);
    appendPointValues(out, p, format, format.thirdIsAltitude ? "   " : " ");
}

}  // namespace

void beginReport(Out_Fic& report, const CCoor& departure, const CCoor& arrival, const In_Fic& in, const Out_Fic& out,
                 int transformationType) {
    if (report.linesWritten != 0) return;
    writeHeader(report, departure, arrival, in, out, transformationType);
    report.linesWritten += 1;
}

void writeReportLine(Out_Fic& report, const CCoor& departure, const CCoor& arrival, const In_Fic& in,
                     const Out_Fic& out, int transformationType, std::string_view status) {
    beginReport(report, departure, arrival, in, out, transformationType);
    std::string line;
    if (status != texts::kStatusOk) {
        line += texts::kReportErrorLine;
        line += texts::kReportErrorOfFile;
        line += status;
    } else {
        if (isDataFormat(in.dataFormat) && dataFormat(in.dataFormat).hasName) {
            // "%20s" counts the characters as they are written, one byte each.
            const std::string name = latin1ToUtf8(utf8ToLatin1(arrival.name));
            const std::size_t width = utf8Length(name);
            if (width < 20) line.append(20 - width, ' ');
            line += name;
        }
        appendValues(line, departure, in.dataFormat);
        line += texts::kReportSidesSeparator;
        appendValues(line, arrival, out.dataFormat);
        if (transformationType == kGridTransformation) {
            line += " \t\t ";
            line += precisionText(arrival.precisionCode);
            line += " \t\t ";
            line += precisionText(arrival.geoidPrecisionCode);
        }
    }
    line += '\n';
    report.writeText(line);
    ++report.linesWritten;
}

void writeReportEnd(Out_Fic& report) { report.writeEnd(texts::kReportEndText); }

}  // namespace zelvo
