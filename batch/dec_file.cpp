#include "batch/dec_file.h"

#include "batch/batch_messages.h"
#include "platform/files.h"
#include "platform/text.h"

#include <vector>

namespace wv {

namespace {

// A .DEC is five short lines; anything much larger is not one, and is not read whole.
constexpr std::int64_t kMaxDecBytes = 64 * 1024;

// Tokens of a number line: the writer separates the two node counts by a comma and pads
// with blanks.
std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == ',')) ++pos;
        std::size_t end = pos;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != ',') ++end;
        if (end > pos) out.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

// A token that is a whole integer (sign and digits only): "45abc" or "4.5" is not a count
// the main program wrote, and text-to-int would quietly make something of it.
bool WholeInt(std::string_view token, int& out) {
    std::size_t used = 0;
    out = WinAtoi(token, &used);
    return used == token.size();
}

bool NumberLine(std::string_view line, int need, int* values) {
    const std::vector<std::string_view> tokens = Tokens(line);
    if (static_cast<int>(tokens.size()) < need) return false;
    for (int i = 0; i < need; ++i)
        if (!WholeInt(tokens[static_cast<std::size_t>(i)], values[i])) return false;
    return true;
}

}  // namespace

bool ParseDecText(std::string_view text, DecContents& out, std::string* why) {
    LineReader reader{std::string(text)};
    std::string lines[5];
    for (int i = 0; i < 5; ++i) {
        if (!reader.Next(lines[i])) {
            if (why) *why = Sprintf("%d行目がありません", i + 1);
            return false;
        }
    }
    // The title stands between the quotes of line 1; two characters are the least a
    // quoted title can take.
    if (lines[0].size() < 2) {
        if (why) *why = "1行目にタイトルがありません";
        return false;
    }
    DecContents dec;
    dec.title = lines[0].substr(1, lines[0].size() - 2);
    const struct {
        int line;
        int need;
        int* values[2];
    } rows[] = {{1, 1, {&dec.p1, nullptr}}, {2, 1, {&dec.p2, nullptr}}, {3, 2, {&dec.p3, &dec.p4}}, {4, 1, {&dec.p5, nullptr}}};
    for (const auto& row : rows) {
        int values[2] = {0, 0};
        if (!NumberLine(lines[row.line], row.need, values)) {
            if (why) *why = Sprintf("%d行目に整数が%d個ありません", row.line + 1, row.need);
            return false;
        }
        for (int k = 0; k < row.need; ++k) *row.values[k] = values[k];
    }
    out = dec;
    return true;
}

bool ReadDecFile(const std::string& path, DecContents& out, std::string* err) {
    auto refuse = [&](const char* head, const std::string& why) {
        if (err) *err = std::string(head) + "\n" + path + (why.empty() ? "" : "\n" + why);
        return false;
    };
    const std::int64_t size = FileSize(path);
    if (size < 0) return refuse(batchmsg::kDecCannotOpen, "");
    if (size > kMaxDecBytes) return refuse(batchmsg::kDecMalformed, "ファイルが大きすぎます");
    std::string text;
    if (!ReadWholeFile(path, text, nullptr)) return refuse(batchmsg::kDecCannotOpen, "");
    std::string why;
    if (!ParseDecText(text, out, &why)) return refuse(batchmsg::kDecMalformed, why);
    return true;
}

}  // namespace wv
