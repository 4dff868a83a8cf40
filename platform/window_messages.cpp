#include "platform/window_messages.h"

#include <utility>

namespace wv {

bool MessageQueue::Post(CMsgTarget* target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!target) return false;
    Entry e;
    e.life = target->LifeToken();
    e.toTarget = true;
    e.target = target;
    e.message = message;
    e.wParam = wParam;
    e.lParam = lParam;
    m_queue.push_back(std::move(e));
    if (m_wake) m_wake();
    return true;
}

void MessageQueue::PostCall(std::function<void()> call) {
    Entry e;
    e.call = std::move(call);
    m_queue.push_back(std::move(e));
    if (m_wake) m_wake();
}

std::size_t MessageQueue::DeliverPending() {
    // A handler that pumps events (a message box) must not deliver the rest under it.
    if (m_delivering) return 0;
    m_delivering = true;
    std::size_t delivered = 0;
    while (!m_queue.empty() && !(m_hold && m_hold())) {
        Entry e = std::move(m_queue.front());
        m_queue.pop_front();
        if (e.toTarget) {
            if (e.life.expired()) continue;
            e.target->WindowProc(e.message, e.wParam, e.lParam);
        } else if (e.call) {
            e.call();
        }
        ++delivered;
        if (m_after) m_after();
    }
    m_delivering = false;
    return delivered;
}

MessageQueue& PostedMessages() {
    static MessageQueue queue;
    return queue;
}

}  // namespace wv
