// The names of the 19 plane rectangular zones as the dialogs list them: zone = index + 1.
#pragma once

#include <string>
#include <vector>

namespace wv {

inline const std::vector<std::string>& PlaneZoneNames() {
    // CP932 has the numerals I to X only, so XI to XIX are written as two characters.
    static const std::vector<std::string> names = {
        "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ", "Ⅴ", "Ⅵ", "Ⅶ", "Ⅷ", "Ⅸ", "Ⅹ",
        "ⅩⅠ", "ⅩⅡ", "ⅩⅢ", "ⅩⅣ", "ⅩⅤ", "ⅩⅥ", "ⅩⅦ", "ⅩⅧ", "ⅩⅨ",
    };
    return names;
}

}  // namespace wv
