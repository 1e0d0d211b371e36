// Point-file reading, in every data format family, and writing back what was read.
#include "files/point_file.hpp"
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the data format, the rest is the file.
    const int format = data[0] % 21;
    const std::string& path = zelvo::fuzz::inputFile(data + 1, size - 1);
    zelvo::In_Fic in;
    if (!in.open(path)) return 0;
    in.dataFormat = format;
    zelvo::Out_Fic out;
    out.open("/dev/null");
    out.dataFormat = format;
    out.annotated = (data[0] & 0x80) != 0;
    for (int guard = 0; guard < 100000; ++guard) {
        zelvo::CCoor point;
        point.unit = 2;
        const std::string_view status = in.readPoint(point);
        if (status == "Fin") break;
        out.writePoint(point, point, 1, status, true);
    }
    in.countLines();
    return 0;
}
