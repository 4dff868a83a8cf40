#include "gui/suite_ui.h"

#include <cstdio>

namespace wv::gui {

void SuiteUi::Answer(const std::string& part, int answer, int times) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_boxRules.push_back({part, answer, times, {}});
}

void SuiteUi::AnswerAfter(const std::string& part, std::function<void()> before, int answer, int times) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_boxRules.push_back({part, answer, times, std::move(before)});
}

void SuiteUi::AnswerFile(const std::string& part, std::function<std::string(const FileDialogOptions&)> choose,
                         int times) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fileRules.push_back({part, std::move(choose), times});
}

void SuiteUi::ClearRules() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_boxRules.clear();
    m_fileRules.clear();
}

int SuiteUi::MessageBox(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) {
    std::function<void()> before;
    int answer = DefaultAnswer(buttons);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // The newest rule first, so a test can override an earlier one.
        for (auto it = m_boxRules.rbegin(); it != m_boxRules.rend(); ++it) {
            if (it->times == 0) continue;
            if (text.find(it->part) == std::string::npos && caption.find(it->part) == std::string::npos) continue;
            if (it->times > 0) --it->times;
            answer = it->answer;
            before = it->before;
            break;
        }
        m_messages.push_back({text, caption, buttons, icon, answer});
    }
    std::fprintf(stderr, "[message %s] %s -> %d\n", caption.c_str(), text.c_str(), answer);
    if (before) before();
    return answer;
}

bool SuiteUi::Choose(const FileDialogOptions& options, bool folder, std::string& out) {
    std::function<std::string(const FileDialogOptions&)> choose;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_fileRules.rbegin(); it != m_fileRules.rend(); ++it) {
            if (it->times == 0 || options.title.find(it->part) == std::string::npos) continue;
            if (it->times > 0) --it->times;
            choose = it->choose;
            break;
        }
    }
    const std::string answer = choose ? choose(options) : std::string();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_files.push_back({options, folder, answer});
    std::fprintf(stderr, "[%s dialog %s] -> %s\n", folder ? "folder" : "file", options.title.c_str(),
                 answer.empty() ? "(cancelled)" : answer.c_str());
    if (answer.empty()) return false;
    out = answer;
    return true;
}

bool SuiteUi::FileDialog(const FileDialogOptions& fileDialog, std::string& path) {
    return Choose(fileDialog, false, path);
}

bool SuiteUi::FolderDialog(const std::string& title, const std::string& initialFolder, std::string& folder) {
    FileDialogOptions o;
    o.title = title;
    o.initialFolder = initialFolder;
    return Choose(o, true, folder);
}

std::vector<MessageRecord> SuiteUi::Messages() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
}

std::vector<FileDialogRecord> SuiteUi::FileDialogs() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_files;
}

bool SuiteUi::Saw(const std::string& part) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const MessageRecord& m : m_messages)
        if (m.text.find(part) != std::string::npos || m.caption.find(part) != std::string::npos) return true;
    return false;
}

std::size_t SuiteUi::MessageCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages.size();
}

}  // namespace wv::gui
