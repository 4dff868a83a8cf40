#include "cp932_input.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace wv {

namespace {

std::size_t CharLen(std::string_view s, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (i + n > s.size()) n = s.size() - i;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return k;
    return n;
}

std::vector<std::string_view> SplitChars(std::string_view s) {
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = CharLen(s, i);
        out.push_back(s.substr(i, n));
        i += n;
    }
    return out;
}

// One converter per thread: the dialogs ask character by character.
class Cp932Encoder {
public:
    Cp932Encoder() : m_cd(::iconv_open("CP932", "UTF-8")) {}
    ~Cp932Encoder() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) ::iconv_close(m_cd);
    }
    int Bytes(std::string_view ch) {
        if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x80) return 1;
        if (m_cd == reinterpret_cast<iconv_t>(-1)) return 0;
        ::iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char in[8];
        char out[16];
        if (ch.size() > sizeof in) return 0;
        for (std::size_t k = 0; k < ch.size(); ++k) in[k] = ch[k];
        char* src = in;
        std::size_t srcLeft = ch.size();
        char* dst = out;
        std::size_t dstLeft = sizeof out;
        const std::size_t r = ::iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
        if (r == static_cast<std::size_t>(-1) || srcLeft != 0) return 0;
        const std::size_t n = sizeof out - dstLeft;
        return n == 1 || n == 2 ? static_cast<int>(n) : 0;
    }

private:
    iconv_t m_cd;
};

}  // namespace

int Cp932CharBytes(std::string_view utf8Char) {
    thread_local Cp932Encoder enc;
    return enc.Bytes(utf8Char);
}

int Cp932ByteCount(std::string_view utf8) {
    int total = 0;
    for (std::string_view ch : SplitChars(utf8)) {
        const int n = Cp932CharBytes(ch);
        if (n == 0) return -1;
        total += n;
    }
    return total;
}

bool IsCp932Text(std::string_view utf8) { return Cp932ByteCount(utf8) >= 0; }

std::size_t Utf8CharCount(std::string_view utf8) { return SplitChars(utf8).size(); }

FittedEdit FitCp932Edit(std::string_view before, std::string_view after, int maxBytes) {
    const auto b = SplitChars(before);
    const auto a = SplitChars(after);
    std::size_t head = 0;
    while (head < b.size() && head < a.size() && b[head] == a[head]) ++head;
    std::size_t tail = 0;
    while (tail < b.size() - head && tail < a.size() - head &&
           b[b.size() - 1 - tail] == a[a.size() - 1 - tail])
        ++tail;

    // Bytes of what stays around the insertion; an unconvertible character already in
    // the edit (from a stored text) counts as two so the sum stays an upper bound.
    long long kept = 0;
    auto bytesOf = [](std::string_view ch) {
        const int n = Cp932CharBytes(ch);
        return n == 0 ? 2 : n;
    };
    for (std::size_t i = 0; i < head; ++i) kept += bytesOf(a[i]);
    for (std::size_t i = a.size() - tail; i < a.size(); ++i) kept += bytesOf(a[i]);

    FittedEdit out;
    for (std::size_t i = 0; i < head; ++i) out.text.append(a[i]);
    std::size_t cursor = head;
    for (std::size_t i = head; i < a.size() - tail; ++i) {
        const int n = Cp932CharBytes(a[i]);
        if (n == 0) continue;
        if (maxBytes > 0 && kept + n > maxBytes) break;
        kept += n;
        out.text.append(a[i]);
        ++cursor;
    }
    for (std::size_t i = a.size() - tail; i < a.size(); ++i) out.text.append(a[i]);
    out.cursor = cursor;
    return out;
}

}  // namespace wv
