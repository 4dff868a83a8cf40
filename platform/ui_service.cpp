#include "ui_service.h"

#include <atomic>
#include <cstdio>

namespace wv {

int DefaultAnswer(MbButtons buttons) {
    switch (buttons) {
    case MbButtons::Ok:
    case MbButtons::OkCancel: return IDOK;
    case MbButtons::YesNo:
    case MbButtons::YesNoCancel: return IDYES;
    case MbButtons::RetryCancel: return IDRETRY;
    }
    return IDOK;
}

int HeadlessUi::MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                           MbIcon) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return DefaultAnswer(buttons);
}

void ScriptedUi::PushAnswer(int answer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answers.push_back(answer);
}

int ScriptedUi::MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                           MbIcon icon) {
    std::lock_guard<std::mutex> lock(m_mutex);
    int answer = DefaultAnswer(buttons);
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    m_log.push_back({text, caption, buttons, icon, answer});
    return answer;
}

std::vector<MessageRecord> ScriptedUi::Messages() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_log;
}

void ScriptedUi::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.clear();
    m_answers.clear();
    m_fileAnswers.clear();
    m_fileLog.clear();
}

void ScriptedUi::PushFileAnswer(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fileAnswers.push_back(path);
}

bool ScriptedUi::NextFileAnswer(FileDialogRecord record, std::string& out) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_fileAnswers.empty()) {
        record.answer = m_fileAnswers.front();
        m_fileAnswers.pop_front();
    }
    m_fileLog.push_back(record);
    if (record.answer.empty()) return false;
    out = record.answer;
    return true;
}

bool ScriptedUi::FileDialog(const FileDialogOptions& fileDialog, std::string& path) {
    FileDialogRecord r;
    r.fileDialog = fileDialog;
    return NextFileAnswer(std::move(r), path);
}

bool ScriptedUi::FolderDialog(const std::string& title, const std::string& initialFolder,
                              std::string& folder) {
    FileDialogRecord r;
    r.fileDialog.title = title;
    r.fileDialog.initialFolder = initialFolder;
    r.folder = true;
    return NextFileAnswer(std::move(r), folder);
}

std::vector<FileDialogRecord> ScriptedUi::FileDialogs() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_fileLog;
}

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// '*' any run, '?' one byte; letters compared without case.
bool MatchOne(const char* n, const char* p) {
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*n) {
        if (*p == '*') {
            star = p++;
            resume = n;
        } else if (*p == '?' || (*p && Lower(*p) == Lower(*n))) {
            ++p;
            ++n;
        } else if (star) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*p == '*') ++p;
    return *p == 0;
}

}  // namespace

bool MatchesFilePattern(const std::string& name, const std::string& patterns) {
    std::size_t pos = 0;
    while (pos <= patterns.size()) {
        std::size_t end = patterns.find_first_of("; ", pos);
        if (end == std::string::npos) end = patterns.size();
        const std::string one = patterns.substr(pos, end - pos);
        // "*.*" means every file, also one without a dot.
        if (!one.empty() && (one == "*.*" || MatchOne(name.c_str(), one.c_str()))) return true;
        pos = end + 1;
    }
    return false;
}

namespace {
HeadlessUi g_headless;
std::atomic<UiService*> g_ui{nullptr};
}  // namespace

UiService& Ui() {
    UiService* s = g_ui.load();
    return s ? *s : g_headless;
}

void SetUi(UiService* service) { g_ui.store(service); }

ScopedUi::ScopedUi(UiService* s) : m_prev(g_ui.load()) { SetUi(s); }
ScopedUi::~ScopedUi() { SetUi(m_prev); }

}  // namespace wv
