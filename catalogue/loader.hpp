#pragma once
// The catalogue data file: single-byte text (ISO 8859-1), one record per line, keyword first.

#include <string>

#include "catalogue/catalogue.hpp"

namespace zelvo {

enum class CatalogueLoadStatus { Loaded, Unreadable, Malformed };

struct CatalogueLoadResult {
    CatalogueLoadStatus status = CatalogueLoadStatus::Loaded;
    std::string message;  // for an error box; empty when loaded
    int lineNumber = 0;   // 1-based line of a malformed line, comments and blank lines included
};

// Longest line the format allows; a longer line is malformed.
inline constexpr std::size_t kCatalogueMaxLineLength = 255;

// Loads the file at path into catalogue, which is replaced only when the whole file loaded.
CatalogueLoadResult loadCatalogue(const std::string& path, Catalogue& catalogue);

}  // namespace zelvo
