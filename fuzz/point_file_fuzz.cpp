// Point-file reading as a file run reads it: blocks of whole lines (readBlock), cut into lines
// (splitLines), each line classified in every data format (parseLine), and the lines of one
// format written back.
#include <string>

#include "files/data_formats.hpp"
#include "files/point_file.hpp"
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte picks the format written back and the annotation, the second the block size
    // (small ones cut lines across blocks), the rest is the file.
    const int written = data[0] % (zelvo::kLastDataFormat + 2);
    const std::size_t blockBytes = 1 + data[1] % 64 * 64;
    const std::string& path = zelvo::fuzz::inputFile(data + 2, size - 2);
    zelvo::In_Fic in;
    if (!in.open(path)) return 0;
    zelvo::Out_Fic out;
    out.open("/dev/null");
    out.dataFormat = written;
    out.annotated = (data[0] & 0x80) != 0;
    std::string block;
    while (in.readBlock(block, blockBytes)) {
        zelvo::In_Fic::splitLines(block, [&](std::string_view line, bool tooLong) {
            // Codes 0 to 5 and 20 are no format: every line of them is refused.
            for (int format = 0; format <= zelvo::kLastDataFormat + 1; ++format) {
                zelvo::CCoor point;
                point.unit = 2;
                const zelvo::LineStatus status = zelvo::In_Fic::parseLine(line, tooLong, format, point);
                if (format == written) out.writePoint(point, point, 1, zelvo::lineStatusText(status), true);
            }
        });
    }
    in.countLines();
    return 0;
}
