#pragma once
// The projection kinds named by EPSG method codes, and the linear units of their projected
// coordinates (EPSG unit codes).

#include <string_view>

#include "catalogue/records.hpp"

namespace zelvo {

// Projection kinds that are EPSG method codes. Their PRC line carries a linear unit code.
inline constexpr int kEpsgKrovakNorthOrientated = 1041;
inline constexpr int kEpsgLambertConic1SP = 9801;
inline constexpr int kEpsgLambertConic2SP = 9802;
inline constexpr int kEpsgMercatorA = 9804;
inline constexpr int kEpsgMercatorB = 9805;
inline constexpr int kEpsgCassiniSoldner = 9806;
inline constexpr int kEpsgTransverseMercator = 9807;
inline constexpr int kEpsgTransverseMercatorSouth = 9808;
inline constexpr int kEpsgObliqueStereographic = 9809;
inline constexpr int kEpsgPolarStereographicA = 9810;
inline constexpr int kEpsgHotineObliqueMercatorA = 9812;
inline constexpr int kEpsgHotineObliqueMercatorB = 9815;
inline constexpr int kEpsgKrovak = 9819;
inline constexpr int kEpsgLambertAzimuthalEqualArea = 9820;
inline constexpr int kEpsgAlbersEqualArea = 9822;
inline constexpr int kEpsgLambertConicWest = 9826;
inline constexpr int kEpsgPolarStereographicB = 9829;
inline constexpr int kEpsgPolarStereographicC = 9830;

// True for the kinds above.
bool isEpsgMethodKind(int kind);

inline constexpr int kMetreUnit = 9001;

// The length of one unit in metres (the EPSG conversion factor), 0 for an unknown code.
double linearUnitMetres(int code);
// Its short label, as shown beside projected coordinates ("m", "ft", "ftUS", …); empty for an
// unknown code.
std::string_view linearUnitLabel(int code);
// The label of a projection's linear unit when it is not the metre, for the texts that name the
// unit of projected values; empty for metres (kinds 1 to 6 included) and for no projection.
std::string_view nonMetreUnitLabel(const CPrc* projection);
// The decimals that show a projected value of the projection to the millimetre or better: 3, and
// more for units longer than a metre (5 for the chain, 6 for the kilometre).
int projectedDecimals(const CPrc* projection);

}  // namespace zelvo
