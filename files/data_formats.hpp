#pragma once
// Point-file data formats: which values a line holds, in which order.

#include <string_view>

namespace zelvo {

inline constexpr int kFirstDataFormat = 6;
inline constexpr int kLastDataFormat = 19;

struct DataFormat {
    int code;
    int coordinateType;    // 1 cartesian, 2 geographic, 3 projected
    bool hasName;          // the line starts with the point's name
    bool latitudeFirst;    // geographic formats: latitude before longitude
    bool thirdIsAltitude;  // the third value is an altitude (else an ellipsoidal height or Z)
};

bool isDataFormat(int code);
// The description of a format code; only for codes 6 to 19.
const DataFormat& dataFormat(int code);
// The name of a format code ("Nom X Y Z" ...), empty outside 6 to 19.
std::string_view dataFormatName(int code);
// The code of a format name, 0 for a name that is none.
int dataFormatCode(std::string_view name);
// The vertical mode a point of that format carries: 2 for "Altitude" formats, 1 for the others,
// 0 outside 6 to 19.
int dataFormatVerticalMode(int code);
// The format at a 1-based position of a coordinate type's menu; 0 for position 0, an unknown
// type or a position past the menu's end.
int dataFormatAtMenuPosition(int coordinateType, int position);

// Names of coordinate types 1 to 3; empty for any other code.
std::string_view coordinateTypeName(int type);

}  // namespace zelvo
