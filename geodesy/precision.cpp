#include "geodesy/precision.hpp"

#include <map>
#include <string>

namespace zelvo {

namespace {

std::string_view classText(int code) {
    switch (code) {
        case 0: return "aucune information";
        case 1: return "de 1 à 5cm";
        case 2: return "de 5 à 10cm";
        case 3: return "de 10 à 20cm";
        case 4: return "de 20à 50cm";
        case 5: return "de 1 à 2m";
        case 6: return "de 2 à 5m";
        case 10: return "inférieure à 1m";
        case 11: return "de 1 à 5 cm";
        case 99: return "supérieure à 1m";
        case 88888888: return "< 1 cm";
        case kOutsideGeoidGrid: return "HORS GRILLE DE GEOIDE";
        default: return {};
    }
}

// The texts of the classes reached through WGS 84, made once.
const std::map<int, std::string>& throughWgs84Texts() {
    static const std::map<int, std::string> texts = [] {
        std::map<int, std::string> t;
        for (const int code : {0, 1, 2, 3, 4, 5, 6, 10, 11, 99, 88888888})
            t[kThroughWgs84Precision + code] = std::string(classText(code)) + " (par WGS 84)";
        return t;
    }();
    return texts;
}

}  // namespace

std::string_view precisionText(int code) {
    if (code >= kThroughWgs84Precision) {
        const auto& texts = throughWgs84Texts();
        const auto it = texts.find(code);
        if (it != texts.end()) return it->second;
    }
    return classText(code);
}

}  // namespace zelvo
