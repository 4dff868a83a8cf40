// The folders' layering, read from the source tree itself: each folder includes only the
// folders below it, the two views know nothing of each other or of the application
// shell, and Qt stays in the qt/ folders. A file that breaks a rule is named with the
// line that does it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What each folder may include besides itself: the folders it builds on, all the way
// down. Programs (tools/, bench/, tests/) may include anything.
const std::map<std::string, std::set<std::string>>& Allowed() {
    static const std::map<std::string, std::set<std::string>> table = {
        {"platform", {}},
        {"core", {"platform"}},
        {"geoconv", {"platform"}},
        {"solver", {"platform"}},
        {"calc", {"core", "platform", "solver"}},
        {"draw", {"calc", "core", "platform", "solver"}},
        {"calcdoc", {"calc", "core", "draw", "platform", "solver"}},
        {"project", {"calc", "core", "draw", "geoconv", "platform", "solver"}},
        {"calcview", {"calc", "calcdoc", "core", "draw", "platform", "solver"}},
        {"batch", {"calc", "core", "platform", "solver"}},
        {"viewer", {"core", "geoconv", "platform"}},
        {"app", {"calc", "calcdoc", "calcview", "core", "draw", "geoconv", "platform", "project", "solver"}},
    };
    return table;
}

struct Include {
    std::string file;  // relative to the source tree
    int line = 0;
    std::string target;  // as written between the quotes or brackets
    bool system = false;
};

std::vector<Include> IncludesOf(const fs::path& root, const fs::path& file) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    std::vector<Include> out;
    std::ifstream in(file);
    std::string text;
    int n = 0;
    while (std::getline(in, text)) {
        ++n;
        std::smatch m;
        if (std::regex_search(text, m, include))
            out.push_back({fs::relative(file, root).generic_string(), n, m[2].str(), m[1].str() == "<"});
    }
    return out;
}

// The rules' verdicts on one include; empty when it is fine.
std::string Check(const Include& inc) {
    const std::string folder = inc.file.substr(0, inc.file.find('/'));
    const auto rules = Allowed().find(folder);
    if (rules == Allowed().end()) return {};
    const bool inQt = inc.file.find("/qt/") != std::string::npos;
    if (inc.system) {
        // Qt's headers are all named Q...; the engine builds without them.
        if (!inQt && !inc.target.empty() && inc.target[0] == 'Q') return "Qt outside a qt/ folder";
        return {};
    }
    const auto slash = inc.target.find('/');
    if (slash == std::string::npos) return {};
    const std::string to = inc.target.substr(0, slash);
    if (!Allowed().count(to)) return {};
    if (to != folder && !rules->second.count(to)) return "a folder above or beside " + folder;
    if (!inQt && inc.target.find("/qt/") != std::string::npos) return "a qt/ header outside a qt/ folder";
    return {};
}

std::vector<std::string> Violations(const fs::path& root) {
    std::vector<std::string> found;
    for (const auto& [folder, _] : Allowed()) {
        if (!fs::is_directory(root / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            for (const Include& inc : IncludesOf(root, entry.path()))
                if (const std::string why = Check(inc); !why.empty())
                    found.push_back(inc.file + ":" + std::to_string(inc.line) + ": " + inc.target + " (" + why + ")");
        }
    }
    return found;
}

TEST(Layers, TheRulesCatchWhatTheyAreFor) {
    EXPECT_NE(Check({"calcview/qt/install.cpp", 3, "app/wavora_app.h", false}), "");
    EXPECT_NE(Check({"calcview/calc_view_menus.cpp", 4, "project/tik_doc.h", false}), "") << "the views are apart";
    EXPECT_NE(Check({"project/qt/tik_view.cpp", 1, "calcview/tyd_view.h", false}), "");
    EXPECT_NE(Check({"core/param_file.cpp", 1, "QString", true}), "");
    EXPECT_NE(Check({"draw/figure.cpp", 1, "draw/qt/figure_printer.h", false}), "");
    EXPECT_EQ(Check({"draw/qt/figure_printer.cpp", 1, "QPrinter", true}), "");
    EXPECT_EQ(Check({"app/qt/app_main.cpp", 1, "calcview/qt/tyd_frame.h", false}), "");
    EXPECT_EQ(Check({"calcview/tyd_view.cpp", 1, "core/command_ids.h", false}), "");
    EXPECT_EQ(Check({"tools/wave_road/wave_road.cpp", 1, "app/wavora_app.h", false}), "") << "programs above all";
}

TEST(Layers, NoFolderReachesAboveItself) {
    const std::vector<std::string> found = Violations(WAVORA_SOURCE_DIR);
    std::string list;
    for (const std::string& v : found) list += v + "\n";
    EXPECT_TRUE(found.empty()) << list;
}

}  // namespace
