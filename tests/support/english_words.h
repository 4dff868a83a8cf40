// The English in a text the user sees: each run of two or more lower-case ASCII letters
// (with the letters around it) that is not part of a path, a file name or one of the
// suite's names (Wavora, Tydchain, Reliefscope, TYDSOLV, Meshgate, Q-SONA). Capitals
// alone ("DXF", "CSV", "FILE OPEN ERROR", the system's own text) and numbers pass.
// The text is UTF-8; the Japanese in it is never taken for a word.
#pragma once

#include <regex>
#include <string>
#include <vector>

namespace wv::testsupport {

inline std::vector<std::string> EnglishWords(std::string text) {
    static const std::regex path(R"(\S*[/\\]\S*|\b[\w-]+\.[A-Za-z0-9]{1,4}\b)");
    text = std::regex_replace(text, path, " ");
    for (const char* name : {"Wavora", "Tydchain", "Reliefscope", "TYDSOLV", "Meshgate", "Q-SONA"})
        for (std::size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, std::string(name).size(), " ");
    static const std::regex word("[A-Za-z]*[a-z]{2,}[A-Za-z]*");
    std::vector<std::string> words;
    for (std::sregex_iterator it(text.begin(), text.end(), word), end; it != end; ++it) words.push_back(it->str());
    return words;
}

}  // namespace wv::testsupport
