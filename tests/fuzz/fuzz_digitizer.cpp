// The framing of the tablet's records. The port delivers bytes in pieces of any size
// (the input's first byte chooses them here): once the tablet sends more, the records
// taken must not depend on where the pieces ended; every record is one that a whole line
// parses to, and the bytes held back never grow past one over-long line.
#include "fuzz_support.h"

#include "project/digitizer_calib.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

// A reading of "nan" is still the same reading.
bool Same(const wv::DigitizerRecord& a, const wv::DigitizerRecord& b) {
    auto eq = [](double p, double q) { return p == q || (std::isnan(p) && std::isnan(q)); };
    return eq(a.x, b.x) && eq(a.y, b.y) && a.button == b.button;
}

bool Same(const std::vector<wv::DigitizerRecord>& a, const std::vector<wv::DigitizerRecord>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!Same(a[i], b[i])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    if (size == 0) return 0;
    const unsigned seed = data[0];
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    DigitizerFramer whole;
    std::vector<DigitizerRecord> once = whole.Feed(bytes);

    DigitizerFramer pieces;
    std::vector<DigitizerRecord> split;
    unsigned state = seed * 2654435761u + 1;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        state = state * 1103515245u + 12345u;
        // Mostly small pieces as a serial port gives them, now and then a large one.
        const std::size_t want = (state >> 16) % 8 == 0 ? 1 + (state >> 8) % 1500 : 1 + (state >> 12) % 12;
        const std::string piece = bytes.substr(pos, want);
        pos += piece.size();
        const std::vector<DigitizerRecord> got = pieces.Feed(piece);
        split.insert(split.end(), got.begin(), got.end());
        fuzz::Check(pieces.Pending() <= DigitizerFramer::kMaxLine + want, "held-back bytes stay bounded");
    }
    // Fewer than 9 waiting bytes are held until more come; the tablet's next bytes (line
    // ends here) bring out what both still hold.
    const std::string more(10, '\n');
    const std::vector<DigitizerRecord> onceRest = whole.Feed(more);
    once.insert(once.end(), onceRest.begin(), onceRest.end());
    const std::vector<DigitizerRecord> splitRest = pieces.Feed(more);
    split.insert(split.end(), splitRest.begin(), splitRest.end());
    fuzz::Check(Same(split, once), "records do not depend on how the bytes were split");

    // Every record comes from one line of the bytes sent.
    bytes += more;
    std::vector<DigitizerRecord> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) break;
        DigitizerRecord r;
        if (end > start && ParseDigitizerRecord(bytes.substr(start, end - start), r)) lines.push_back(r);
        start = end + 1;
    }
    fuzz::Check(once.size() <= lines.size(), "no record without a line behind it");
    for (const DigitizerRecord& r : once) {
        bool found = false;
        for (const DigitizerRecord& l : lines) found = found || Same(l, r);
        fuzz::Check(found, "each record is what its line parses to");
    }
    return 0;
}
