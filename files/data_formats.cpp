#include "files/data_formats.hpp"

#include <array>

#include "resources/string_table.hpp"

namespace zelvo {
namespace {

// Resource number of each format's name, by code.
constexpr std::array<int, 20> kNameResource = {0,    0,    0,    0,    0,    0,    2016, 2017, 2022, 2026,
                                               2023, 2027, 2024, 2028, 2025, 2029, 2018, 2019, 2020, 2021};

constexpr std::array<DataFormat, 14> kFormats = {{
    {6, 1, true, false, false},
    {7, 1, false, false, false},
    {8, 2, true, false, true},
    {9, 2, true, true, true},
    {10, 2, true, false, false},
    {11, 2, true, true, false},
    {12, 2, false, false, true},
    {13, 2, false, true, true},
    {14, 2, false, false, false},
    {15, 2, false, true, false},
    {16, 3, true, false, true},
    {17, 3, true, false, false},
    {18, 3, false, false, true},
    {19, 3, false, false, false},
}};

// The menus of the three coordinate types, 1-based.
constexpr int kCartesianMenu[] = {6, 7};
constexpr int kGeographicMenu[] = {8, 10, 12, 14, 9, 11, 13, 15};
constexpr int kProjectedMenu[] = {16, 17, 18, 19};

}  // namespace

bool isDataFormat(int code) { return code >= kFirstDataFormat && code <= kLastDataFormat; }

const DataFormat& dataFormat(int code) { return kFormats[static_cast<std::size_t>(code - kFirstDataFormat)]; }

std::string_view dataFormatName(int code) {
    if (!isDataFormat(code)) return {};
    return loadString(kNameResource[static_cast<std::size_t>(code)]);
}

int dataFormatCode(std::string_view name) {
    for (int code = kFirstDataFormat; code <= kLastDataFormat; ++code)
        if (dataFormatName(code) == name) return code;
    return 0;
}

int dataFormatVerticalMode(int code) {
    if (!isDataFormat(code)) return 0;
    return dataFormat(code).thirdIsAltitude ? 2 : 1;
}

int dataFormatAtMenuPosition(int coordinateType, int position) {
    auto pick = [position](const auto& menu) {
        if (position < 1 || position > static_cast<int>(std::size(menu))) return 0;
        return menu[position - 1];
    };
    switch (coordinateType) {
        case 1: return pick(kCartesianMenu);
        case 2: return pick(kGeographicMenu);
        case 3: return pick(kProjectedMenu);
        default: return 0;
    }
}

std::string_view coordinateTypeName(int type) {
    if (type < 1 || type > 3) return {};
    return loadString(2031 + type);
}

}  // namespace zelvo
