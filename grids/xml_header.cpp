// The XML side file of a grid: a GRID_HEADER element holding one element per header field,
// whose values complete or override those of the grid file's own header.

#include <fmt/printf.h>
#include <sys/stat.h>
#include <tinyxml2.h>
#include <cstdio>

#include "grids/grid.hpp"
#include "platform/number_text.hpp"
#include "platform/paths.hpp"
#include "platform/text_encoding.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

// A side file holds a few dozen short elements; anything much larger is not one.
constexpr long long kMaxXmlBytes = 1 << 20;
// The translation text is read from a buffer of this size.
constexpr std::size_t kTranslationBuffer = 600;

bool mentionsUtf8(std::string_view declaration) {
    std::string lower(declaration);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos;
}

class HeaderElements {
public:
    HeaderElements(const tinyxml2::XMLElement& root, bool utf8) : root_(root), utf8_(utf8) {}

    // The text of the first element of that name, when it has one.
    bool text(const char* name, std::string& value) const {
        const tinyxml2::XMLElement* element = root_.FirstChildElement(name);
        if (element == nullptr || element->FirstChild() == nullptr) return false;
        const tinyxml2::XMLText* node = element->FirstChild()->ToText();
        if (node == nullptr || node->Value() == nullptr) return false;
        value = utf8_ ? std::string(node->Value()) : latin1ToUtf8(node->Value());
        return true;
    }
    void text260(const char* name, std::string& field) const {
        std::string value;
        if (text(name, value)) field = gridText260(value);
    }
    void name(const char* element, std::span<const std::string_view> table, int& field) const {
        std::string value;
        if (!text(element, value)) return;
        const int index = grid_vocabulary::indexOf(table, value);
        if (index >= 0) field = index;
    }
    void integer(const char* element, int& field, bool undefinedIsZero = false) const {
        std::string value;
        if (!text(element, value)) return;
        if (undefinedIsZero && value == "UNDEFINED") {
            field = 0;
            return;
        }
        FieldScanner scanner(value);
        int v = 0;
        if (scanner.readInt(v)) field = v;
    }
    void real(const char* element, double& field, bool undefinedIsZero = false) const {
        std::string value;
        if (!text(element, value)) return;
        if (undefinedIsZero && value == "UNDEFINED") {
            field = 0;
            return;
        }
        FieldScanner scanner(value);
        double v = 0;
        if (scanner.readDouble(v)) field = v;
    }

private:
    const tinyxml2::XMLElement& root_;
    bool utf8_;
};

}  // namespace

std::string CGrille::sideFilePath() const {
    PathParts parts = splitPath(header.NAME);
    // A binary version ("a.gtx.bin") is read with the side file of the grid it was made from.
    if (parts.extension == ".bin") {
        GridHeader made;
        made.NAME = parts.directory + parts.baseName;
        detectFormat(made);
        if (hasBinaryVersion(made.GRID_TYPE)) parts = splitPath(made.NAME);
    }
    const std::string beside = parts.directory + parts.baseName + ".xml";
    if (header.sideFileFolder.empty() || fileExists(beside)) return beside;
    const std::string shipped = joinPath(header.sideFileFolder, parts.baseName + ".xml");
    return fileExists(shipped) ? shipped : beside;
}

std::string CGrille::readXmlHeader(const std::string& givenPath) {
    const std::string path = givenPath.empty() ? sideFilePath() : givenPath;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return fmt::sprintf(texts::kXmlNotFound, path);
    struct stat info {};
    const bool sized =
        fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMaxXmlBytes;
    // Blanks around and inside element texts are condensed, as the side files were always read.
    tinyxml2::XMLDocument document(true, tinyxml2::COLLAPSE_WHITESPACE);
    const bool parsed = sized && document.LoadFile(file) == tinyxml2::XML_SUCCESS;
    std::fclose(file);
    if (!parsed) return fmt::sprintf(texts::kXmlNotLoaded, path);
    const tinyxml2::XMLElement* root = document.FirstChildElement("GRID_HEADER");
    if (root == nullptr) return texts::kXmlRootMissing;

    // The side files are ISO 8859-1 unless their declaration says UTF-8.
    bool utf8 = false;
    if (document.FirstChild() != nullptr && document.FirstChild()->ToDeclaration() != nullptr &&
        document.FirstChild()->Value() != nullptr)
        utf8 = mentionsUtf8(document.FirstChild()->Value());
    const HeaderElements xml(*root, utf8);
    namespace v = grid_vocabulary;

    xml.name("GRID_TYPE", gridFormatNames(), header.GRID_TYPE);
    if (header.NAME.empty()) xml.text("NAME", header.NAME);
    xml.text260("ORIGIN", header.ORIGIN);
    xml.text260("CREATED", header.CREATED);
    xml.text260("VERSION", header.VERSION);
    xml.text260("KEY", header.KEY);
    xml.text("DESC", header.DESC);
    xml.name("LAYOUT", v::kLayouts, header.LAYOUT);
    xml.integer("N_NODES", header.N_NODES);
    xml.integer("N_COLUMNS", header.N_COLUMNS);
    xml.integer("N_LINES", header.N_LINES);
    xml.real("X_INC", header.X_INC, true);
    xml.real("Y_INC", header.Y_INC, true);
    xml.real("X_MIN", header.X_MIN);
    xml.real("X_MAX", header.X_MAX);
    xml.real("Y_MIN", header.Y_MIN);
    xml.real("Y_MAX", header.Y_MAX);
    xml.name("NODE_COORD_TYPE", v::kNodeCoordTypes, header.NODE_COORD_TYPE);
    xml.name("INC_UNIT", v::kUnits, header.INC_UNIT);
    xml.name("NODE_COORD_UNIT", v::kUnits, header.NODE_COORD_UNIT);
    xml.name("NODE_COORD_WRITTEN", v::kFlags, header.NODE_COORD_WRITTEN);
    xml.name("EAST_TO_WEST", v::kFlags, header.EAST_TO_WEST);
    std::string location;
    if (xml.text("VALUES_LOCATION", location)) header.VALUES_LOCATION = location == "PIXEL_CENTER" ? 1 : 0;
    xml.name("SEP", v::kFlags, header.SEP);
    xml.integer("VALUES_NUMBER", header.VALUES_NUMBER, true);
    xml.name("CODE_PREC", v::kFlags, header.CODE_PREC);
    xml.name("VALUES_TYPE", v::kValueTypes, header.VALUES_TYPE);
    xml.real("VALUE_UNK", header.VALUE_UNK);
    xml.name("VALUE_UNK_TO_ZERO", v::kFlags, header.VALUE_UNK_TO_ZERO);
    std::string translation;
    if (xml.text("TRANSLATION", translation)) {
        // One value per node value (VALUES_NUMBER as this file may have set it), read from the
        // comma-separated pieces in order; missing pieces give 0, extra ones are ignored. A
        // count that validation will refuse gets no list.
        const int count =
            header.VALUES_NUMBER >= 1 && header.VALUES_NUMBER <= kMaxValuesPerNode ? header.VALUES_NUMBER : 0;
        header.TRANSLATION.assign(static_cast<std::size_t>(count), 0.0);
        if (translation.size() > kTranslationBuffer - 1) translation.resize(kTranslationBuffer - 1);
        std::size_t start = 0;
        for (std::size_t k = 0; k < header.TRANSLATION.size() && start <= translation.size(); ++k) {
            std::size_t comma = translation.find(',', start);
            if (comma == std::string::npos) comma = translation.size();
            header.TRANSLATION[k] = leadingDouble(std::string_view(translation).substr(start, comma - start));
            start = comma + 1;
        }
    }
    xml.real("VALUES_MIN", header.VALUES_MIN);
    xml.real("VALUES_MAX", header.VALUES_MAX);
    xml.name("VALUES_UNIT", v::kUnits, header.VALUES_UNIT);
    xml.name("INTERPOLATION_TYPE", v::kInterpolations, header.INTERPOLATION_TYPE);
    xml.integer("INTERPOLATION_ORDER", header.INTERPOLATION_ORDER, true);
    xml.text260("CRS_CODE_F", header.CRS_CODE_F);
    xml.text260("SYSTEM_F", header.SYSTEM_F);
    xml.real("MAJOR_F", header.MAJOR_F, true);
    xml.real("MINOR_F", header.MINOR_F, true);
    xml.real("SQ_EXC_F", header.SQ_EXC_F, true);
    xml.text260("CRS_CODE_T", header.CRS_CODE_T);
    xml.text260("SYSTEM_T", header.SYSTEM_T);
    xml.real("MAJOR_T", header.MAJOR_T, true);
    xml.real("MINOR_T", header.MINOR_T, true);
    xml.real("SQ_EXC_T", header.SQ_EXC_T, true);
    xml.integer("NODE_COORD_SYST", header.NODE_COORD_SYST);
    xml.integer("SHIFT_TYPE", header.SHIFT_TYPE);
    updateValueSize(header);
    return {};
}

}  // namespace zelvo
