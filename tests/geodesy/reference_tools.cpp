#include "reference_tools.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "catalogue/loader.hpp"
#include "platform/number_text.hpp"
#include "support/test_support.hpp"

namespace zelvo::test {
namespace {

std::string cs2csProgram() {
    if (std::filesystem::exists("/usr/bin/cs2cs")) return "/usr/bin/cs2cs";
    return std::system("command -v cs2cs >/dev/null 2>&1") == 0 ? "cs2cs" : std::string();
}

}  // namespace

bool cs2csAvailable() {
    return !cs2csProgram().empty();
}

std::vector<std::array<double, 3>> runCs2cs(const std::string& from, const std::string& to,
                                            const std::vector<std::array<double, 3>>& points) {
    std::vector<std::array<double, 3>> results;
    const std::string program = cs2csProgram();
    if (program.empty()) return results;
    TempDir dir;
    const std::string output = dir.file("out.txt");
    const std::string command = program + " -f %.10f " + from + " +to " + to + " > '" + output + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "w");
    if (pipe == nullptr) return results;
    std::string input;
    for (const auto& p : points) {
        for (double v : p) {
            appendFixed(input, v, 12);
            input += ' ';
        }
        input += '\n';
    }
    std::fwrite(input.data(), 1, input.size(), pipe);
    if (pclose(pipe) != 0) return results;
    const std::string text = readFile(output);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        FieldScanner scanner(std::string_view(text).substr(start, end - start));
        std::array<double, 3> values;
        for (double& v : values)
            if (!scanner.readDouble(v)) v = std::numeric_limits<double>::quiet_NaN();
        results.push_back(values);
        start = end + 1;
    }
    return results;
}

std::vector<ProjFactors> runProjFactors(const std::string& definition,
                                        const std::vector<std::array<double, 2>>& points) {
    std::vector<ProjFactors> results;
    if (!std::filesystem::exists("/usr/bin/proj")) return results;
    TempDir dir;
    const std::string output = dir.file("out.txt");
    const std::string command = "/usr/bin/proj -V " + definition + " > '" + output + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "w");
    if (pipe == nullptr) return results;
    std::string input;
    for (const auto& p : points) {
        appendFixed(input, p[0], 12);
        input += ' ';
        appendFixed(input, p[1], 12);
        input += '\n';
    }
    std::fwrite(input.data(), 1, input.size(), pipe);
    if (pclose(pipe) != 0) return results;
    const std::string text = readFile(output);
    ProjFactors current;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line = std::string_view(text).substr(start, end - start);
        if (line.starts_with("Parallel scale (k) :")) current.k = leadingDouble(line.substr(20));
        if (line.starts_with("Convergence :")) {
            const std::size_t bracket = line.find('[');
            if (bracket != std::string_view::npos)
                current.convergenceDegrees = leadingDouble(line.substr(bracket + 1));
            results.push_back(current);
        }
        start = end + 1;
    }
    return results;
}

bool loadReferenceCatalogue(Catalogue& catalogue, std::string& why, const std::string& dir) {
    const CatalogueLoadResult result = loadCatalogue(dir + "/catalogue.dat", catalogue);
    if (result.status != CatalogueLoadStatus::Loaded) {
        why = "the reference catalogue does not load: " + result.message;
        return false;
    }
    return true;
}

}  // namespace zelvo::test
