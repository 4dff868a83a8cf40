// The watcher thread of a window that reads a serial port. It waits on the port and on an
// eventfd, lets a record finish arriving (100 ms), moves the bytes into the window's inbox
// under the inbox's lock and posts one call to the window's thread. All parsing happens
// there; the watcher only carries bytes.
#pragma once

#include "platform/serial_port.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace wv {

// What a watcher hands to its window. The window takes it under `mutex`.
struct SerialInbox {
    std::mutex mutex;
    std::string bytes;
    bool lost = false;  // the port went away; the watcher has ended

    // Takes everything waiting (bytes and the lost flag) and leaves the inbox empty.
    void Take(std::string& outBytes, bool& outLost) {
        std::lock_guard<std::mutex> lock(mutex);
        outBytes.swap(bytes);
        bytes.clear();
        outLost = lost;
        lost = false;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex);
        bytes.clear();
        lost = false;
    }
};

class SerialWatcher {
public:
    // `post` is called on the watcher thread and must queue the window's handler for its
    // own thread (never run it there).
    using Post = std::function<void()>;

    SerialWatcher() = default;
    ~SerialWatcher() { Stop(); }
    SerialWatcher(const SerialWatcher&) = delete;
    SerialWatcher& operator=(const SerialWatcher&) = delete;

    // Starts watching an open port. False (and no thread) when the port is not open or the
    // thread cannot be had.
    bool Start(SerialPort& port, SerialInbox& inbox, Post post, int settleMs = 100);
    // Sets the stop flag, wakes the thread and joins it. Returns promptly: the thread
    // never blocks in a read. Safe to call when nothing runs.
    void Stop();
    bool Exists() const { return m_thread.joinable(); }
    // True once the thread has returned by itself (the port was lost).
    bool Ended() const { return m_ended.load(); }

private:
    void Run(SerialPort* port, SerialInbox* inbox, Post post, int settleMs);

    std::thread m_thread;
    int m_wakeFd = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_ended{false};
};

}  // namespace wv
