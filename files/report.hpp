#pragma once
// The report of a file run: a header block describing both files and their systems, one line per
// point with the departure and arrival values side by side, and an end text. ISO 8859-1 on disk,
// CR LF line ends, written through an Out_Fic.

#include <string_view>

#include "geodesy/coordinates.hpp"

namespace zelvo {

class In_Fic;
class Out_Fic;

// One line of the report of a file run; the header block comes first, before the first line.
void writeReportLine(Out_Fic& report, const CCoor& departure, const CCoor& arrival, const In_Fic& in,
                     const Out_Fic& out, int transformationType, std::string_view status);
// The header block, when nothing was written yet (the first line writes it otherwise).
void beginReport(Out_Fic& report, const CCoor& departure, const CCoor& arrival, const In_Fic& in, const Out_Fic& out,
                 int transformationType);
// The end text of the report, with its date stamp.
void writeReportEnd(Out_Fic& report);

}  // namespace zelvo
