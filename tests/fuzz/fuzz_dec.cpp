// The batch input .DEC, read from a file as the batch program reads it. The file reader
// and the text parser agree; a refused file says which file and leaves the caller's
// contents alone; what was read, written again as five lines, reads back the same.
#include "fuzz_support.h"

#include "batch/dec_file.h"

#include <string>
#include <string_view>

namespace {

bool Same(const wv::DecContents& a, const wv::DecContents& b) {
    return a.title == b.title && a.p1 == b.p1 && a.p2 == b.p2 && a.p3 == b.p3 && a.p4 == b.p4 && a.p5 == b.p5;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    const std::string path = fuzz::Scratch() + "IN.DEC";
    fuzz::WriteFile(path, data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    DecContents marker;
    marker.title = "untouched";
    marker.p1 = -7;
    DecContents fromFile = marker;
    std::string err;
    const bool read = ReadDecFile(path, fromFile, &err);
    if (!read) {
        fuzz::Check(Same(fromFile, marker), "a refused batch input leaves the contents alone");
        fuzz::Check(err.find(path) != std::string::npos, "a refused batch input names its file");
        return 0;
    }
    DecContents fromText;
    fuzz::Check(ParseDecText(text, fromText, nullptr), "a file that reads parses as text");
    fuzz::Check(Same(fromFile, fromText), "the file and its text give the same contents");
    fuzz::Check(fromFile.title.find('\n') == std::string::npos, "a title is one line");

    const std::string again = "\"" + fromFile.title + "\"\r\n" + std::to_string(fromFile.p1) + "\r\n" +
                              std::to_string(fromFile.p2) + "\r\n" + std::to_string(fromFile.p3) + "," +
                              std::to_string(fromFile.p4) + "\r\n" + std::to_string(fromFile.p5) + "\r\n";
    DecContents back;
    fuzz::Check(ParseDecText(again, back, nullptr), "contents written again read back");
    fuzz::Check(Same(back, fromFile), "contents written again read back the same");
    return 0;
}
