// The catalogue loader on arbitrary files.
#include "catalogue/loader.hpp"
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelvo::Catalogue catalogue;
    zelvo::loadCatalogue(zelvo::fuzz::inputFile(data, size, ".dat"), catalogue);
    return 0;
}
