#include "platform/serial_watcher.h"

#include <cerrno>
#include <chrono>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace wv {

bool SerialWatcher::Start(SerialPort& port, SerialInbox& inbox, Post post, int settleMs) {
    Stop();
    if (!port.IsOpen()) return false;
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0) return false;
    m_stop = false;
    m_ended = false;
    try {
        m_thread = std::thread(&SerialWatcher::Run, this, &port, &inbox, std::move(post), settleMs);
    } catch (const std::system_error&) {
        ::close(m_wakeFd);
        m_wakeFd = -1;
        return false;
    }
    return true;
}

void SerialWatcher::Stop() {
    if (!m_thread.joinable()) return;
    m_stop = true;
    const std::uint64_t one = 1;
    // The eventfd releases a poll or the settling pause at once.
    [[maybe_unused]] ssize_t n = ::write(m_wakeFd, &one, sizeof one);
    m_thread.join();
    ::close(m_wakeFd);
    m_wakeFd = -1;
}

void SerialWatcher::Run(SerialPort* port, SerialInbox* inbox, Post post, int settleMs) {
    const int fd = port->Fd();
    auto lost = [&] {
        {
            std::lock_guard<std::mutex> lock(inbox->mutex);
            inbox->lost = true;
        }
        m_ended = true;
        post();
    };
    while (!m_stop) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        const int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR) continue;
            lost();
            return;
        }
        if (m_stop || (fds[1].revents & POLLIN)) break;
        if (fds[0].revents & POLLNVAL) {
            lost();
            return;
        }
        // A record arrives over several milliseconds; give it time to finish so that the
        // window usually sees it whole. The pause listens to the eventfd, so Stop is prompt.
        if (fds[0].revents & POLLIN) {
            pollfd wake{m_wakeFd, POLLIN, 0};
            if (::poll(&wake, 1, settleMs) > 0 || m_stop) break;
        }
        std::string bytes;
        const SerialReadResult got = port->ReadAvailable(bytes);
        if (!bytes.empty()) {
            {
                std::lock_guard<std::mutex> lock(inbox->mutex);
                inbox->bytes += bytes;
            }
            post();
        }
        // A hang-up with no data left, or a read that failed: the device is gone. Without
        // this the poll would report the hang-up again at once, for ever.
        if (got == SerialReadResult::Lost || ((fds[0].revents & (POLLHUP | POLLERR)) && bytes.empty())) {
            lost();
            return;
        }
    }
}

}  // namespace wv
