#pragma once
// The log of the window-mode drivers: every point they transform, described in words (time, name,
// transformation type, departure and arrival systems and values). ISO 8859-1 on disk, CR LF line
// ends, written through an Out_Fic.

#include "geodesy/coordinates.hpp"

namespace zelvo {

class Out_Fic;

// One entry of the log of the window-mode drivers.
void writeLogEntry(Out_Fic& log, const CCoor& departure, const CCoor& arrival, int transformationType);

}  // namespace zelvo
