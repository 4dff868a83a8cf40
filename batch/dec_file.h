// The batch input <base>.DEC that the main program's batch-data command writes beside a
// calculation: the remark in double quotes, the direction-bin count, the
// frequency-component count, the two node counts (march axis first) and the batch flag.
#pragma once

#include <string>
#include <string_view>

namespace wv {

struct DecContents {
    std::string title;  // the remark without its quotes, CP932 bytes as in the file
    int p1 = 0;         // direction bins
    int p2 = 0;         // frequency components
    int p3 = 0;         // node count along the march axis
    int p4 = 0;         // node count across it
    int p5 = 0;         // batch flag
};

// Parses the text of a .DEC. Lines end in CR LF or LF; the line end goes before the
// quotes are cut, so a title written on Windows keeps none of them. All five lines must
// be there with the integers they carry (blanks and commas separate them); false when
// not, with `why` saying which line fails.
bool ParseDecText(std::string_view text, DecContents& out, std::string* why);

// Reads the file at `path` as given. False with a message (UTF-8, naming the file) when
// it cannot be read or does not hold a batch input.
bool ReadDecFile(const std::string& path, DecContents& out, std::string* err);

}  // namespace wv
