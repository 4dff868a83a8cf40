// Window messages between the program's windows, posted and handled later, as the
// Windows program posted them: the sender goes on at once, and the receiver handles the
// message after the sender's own work has finished. The queue is Qt-free; the program
// wakes it from its event loop, tests deliver by hand.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

namespace wv {

inline constexpr unsigned WM_APP = 0x8000;
inline constexpr unsigned WM_TREE_OPEN = WM_APP + 10;
inline constexpr unsigned WM_TREE_REFRESH = WM_APP + 11;
inline constexpr unsigned WM_RESULTLIST_REFRESH = WM_APP + 21;
inline constexpr unsigned WM_RESULTLIST_CLOSED = WM_APP + 22;
inline constexpr unsigned WM_RESULTLIST_CLOSE = WM_APP + 23;
inline constexpr unsigned WM_RESULTLIST_ESCAPE = WM_APP + 24;

// Something that receives posted messages. A message posted to a receiver that is gone
// by the time it is delivered is dropped.
class CMsgTarget {
public:
    CMsgTarget() : m_life(std::make_shared<int>(0)) {}
    virtual ~CMsgTarget() = default;
    CMsgTarget(const CMsgTarget&) = delete;
    CMsgTarget& operator=(const CMsgTarget&) = delete;

    virtual long WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    std::weak_ptr<int> LifeToken() const { return m_life; }

private:
    std::shared_ptr<int> m_life;
};

class MessageQueue {
public:
    // Queues the message and wakes the program. False for a null receiver.
    bool Post(CMsgTarget* target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // Queues any call (documents opened by a drop, a command that must wait its turn).
    void PostCall(std::function<void()> call);

    // Delivers what is queued, in order, also what handlers post meanwhile. Nothing is
    // delivered while the hold says so (a progress window pumps events: what opens or
    // closes documents waits until it has closed). Returns how many were delivered.
    std::size_t DeliverPending();
    bool Empty() const { return m_queue.empty(); }
    std::size_t Size() const { return m_queue.size(); }

    void SetHold(std::function<bool()> hold) { m_hold = std::move(hold); }
    // Called when something is queued: the program schedules a delivery.
    void SetWakeUp(std::function<void()> wake) { m_wake = std::move(wake); }
    // Called after each delivered message (the program refreshes its commands' state).
    void SetAfterEach(std::function<void()> after) { m_after = std::move(after); }

private:
    struct Entry {
        std::weak_ptr<int> life;
        bool toTarget = false;
        CMsgTarget* target = nullptr;
        unsigned message = 0;
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
        std::function<void()> call;
    };
    std::deque<Entry> m_queue;
    std::function<bool()> m_hold;
    std::function<void()> m_wake;
    std::function<void()> m_after;
    bool m_delivering = false;
};

// The program's queue (GUI thread only).
MessageQueue& PostedMessages();
inline bool PostMessage(CMsgTarget* target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return PostedMessages().Post(target, message, wParam, lParam);
}

}  // namespace wv
