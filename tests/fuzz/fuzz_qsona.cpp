// Q-SONA bathymetry records, one per line. Every line reads as some kind; a point
// record renumbered as the viewer writes it reads back as the same point.
#include "fuzz_support.h"

#include "geoconv/qsona_record.h"

#include <cmath>
#include <stdexcept>
#include <string_view>

namespace {

bool Same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<QsonaRecord> previous;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::string_view line = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        const QsonaLine read = ReadQsonaLine(line);
        fuzz::Check(read.IsPoint() == read.record.has_value(), "a record comes exactly with a point line");
        if (read.IsPoint()) {
            const QsonaRecord& rec = *read.record;
            if (previous) LinkBetween(*previous, rec);
            try {
                const std::string again = RenumberQsonaRecord(rec, 12345, 678);
                const QsonaLine back = ReadQsonaLine(again);
                fuzz::Check(back.IsPoint(), "a renumbered point is still a point");
                const QsonaRecord& b = *back.record;
                fuzz::Check(b.Type() == rec.Type(), "renumbering keeps the record type");
                fuzz::Check(Same(b.Depth(), rec.Depth()) && b.DepthUnit() == rec.DepthUnit(),
                            "renumbering keeps the depth");
                fuzz::Check(Same(b.Latitude(), rec.Latitude()) && Same(b.Longitude(), rec.Longitude()),
                            "renumbering keeps the position");
                fuzz::Check(b.LineNumber() == 678, "a renumbered point has its new line number");
                fuzz::Check(b.Datum() == rec.Datum(), "renumbering keeps the datum");
            } catch (const std::out_of_range&) {
                fuzz::Check(false, "numbers within their fields always fit");
            }
            previous = rec;
        }
        if (nl == std::string_view::npos) break;
        pos = nl + 1;
    }
    return 0;
}
