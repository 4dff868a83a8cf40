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
