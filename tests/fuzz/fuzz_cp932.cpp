// Text at the file boundary: CP932 to UTF-8 and back. Any bytes convert; after one round
// trip the text is stable; ASCII passes unchanged.
#include "fuzz_support.h"

#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = Cp932ToUtf8(bytes);
    const std::string cp932 = Utf8ToCp932(utf8);
    const std::string utf8Again = Cp932ToUtf8(cp932);
    fuzz::Check(Utf8ToCp932(utf8Again) == cp932, "CP932 text is stable after one round trip");
    bool ascii = true;
    for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) fuzz::Check(utf8 == bytes && cp932 == bytes, "ASCII passes unchanged");
    // The input taken as UTF-8 (possibly broken) converts too.
    Cp932ToUtf8(Utf8ToCp932(bytes));
    return 0;
}
