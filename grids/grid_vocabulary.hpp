#pragma once
// The fixed tables that name the coded fields of a grid header, indexed from 0. The XML side
// file gives coded fields by these names, compared exactly and case-sensitively.

#include <array>
#include <span>
#include <string_view>

namespace zelvo {

// Grid formats (GRID_TYPE): the positions of their lines in the table of formats
// (grid_formats.cpp).
inline constexpr int kFormatUndefined = 0;
inline constexpr int kFormatTextVrd = 1;
inline constexpr int kFormatBinaryVrd = 2;
inline constexpr int kFormatGravsoft = 3;
inline constexpr int kFormatSurfer = 4;
inline constexpr int kFormatNtv2Little = 5;
inline constexpr int kFormatNtv2Big = 6;
inline constexpr int kFormatNtv2Text = 7;
inline constexpr int kFormatEsri = 8;
inline constexpr int kFormatEgm = 9;
inline constexpr int kFormatDis = 10;
inline constexpr int kFormatGtx = 11;
inline constexpr int kFormatGeoTiff = 12;

// Value types (VALUES_TYPE).
inline constexpr int kValuesUndefined = 0;
inline constexpr int kValuesInteger2 = 1;
inline constexpr int kValuesInteger4 = 2;
inline constexpr int kValuesReal4 = 3;
inline constexpr int kValuesReal8 = 4;

// Interpolation types (INTERPOLATION_TYPE).
inline constexpr int kInterpolationUndefined = 0;
inline constexpr int kInterpolationNodeValue = 1;
inline constexpr int kInterpolationBilinear = 2;
inline constexpr int kInterpolationPlaceholder = 3;
inline constexpr int kInterpolationSpline = 4;

namespace grid_vocabulary {

// The names of the formats are those of the table of formats (gridFormatNames()).
inline constexpr std::array<std::string_view, 9> kLayouts = {
    "UNDEFINED", "SW2N2E", "NW2E2S", "NW2S2E", "SW2E2N", "SE2N2W", "NE2W2S", "NE2S2W", "SE2W2N",
};
inline constexpr std::array<std::string_view, 5> kUnits = {"UNDEFINED", "METERS", "SECONDS", "DEGREES",
                                                           "RADIANS"};
inline constexpr std::array<std::string_view, 4> kNodeCoordTypes = {"UNDEFINED", "XYZ", "LON_LAT", "E_N"};
inline constexpr std::array<std::string_view, 5> kValueTypes = {"UNDEFINED", "INTEGER2", "INTEGER4", "REAL4",
                                                                "REAL8"};
// Index 3 is a placeholder with no behaviour.
inline constexpr std::array<std::string_view, 5> kInterpolations = {"UNDEFINED", "NODE_VALUE", "BILINEAR",
                                                                    "bidon", "SPLINE"};
inline constexpr std::array<std::string_view, 2> kFlags = {"NO", "YES"};

// Index of name in table, or -1 when no entry matches exactly.
inline int indexOf(std::span<const std::string_view> table, std::string_view name) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i] == name) return static_cast<int>(i);
    return -1;
}

// Bytes per value in a binary grid file, 0 for the undefined or an unknown type.
inline int valueTypeSize(int valuesType) {
    switch (valuesType) {
        case kValuesInteger2:
            return 2;
        case kValuesInteger4:
            return 4;
        case kValuesReal4:
            return 4;
        case kValuesReal8:
            return 8;
        default:
            return 0;
    }
}

}  // namespace grid_vocabulary
}  // namespace zelvo
