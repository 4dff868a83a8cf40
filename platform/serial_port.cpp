#include "platform/serial_port.h"

#include "platform/atomic_file.h"
#include "platform/dialog_texts.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace wv {

namespace {

void SetError(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + SystemErrorText(errno);
}

bool BaudConstant(int baud, speed_t& out) {
    static const struct { int baud; speed_t code; } kRates[] = {
        {110, B110},       {300, B300},       {600, B600},       {1200, B1200},
        {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},
        {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400},
    };
    for (const auto& r : kRates) {
        if (r.baud == baud) {
            out = r.code;
            return true;
        }
    }
    return false;
}

}  // namespace

SerialPort::~SerialPort() { Close(); }

void SerialPort::Close() {
    if (m_fd < 0) return;
    ::close(m_fd);  // releases the flock and the exclusive mode with it
    m_fd = -1;
}

bool ApplySerialSettings(int fd, const SerialSettings& s, std::string* error) {
    speed_t speed;
    if (!BaudConstant(s.baudRate, speed) || s.dataBits < 5 || s.dataBits > 8 ||
        (s.parity != 'N' && s.parity != 'O' && s.parity != 'E') || (s.stopBits != 1 && s.stopBits != 2) ||
        s.flowControl < 0 || s.flowControl > 2) {
        if (error) *error = msg::kSerialBadSettings;
        return false;
    }
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        SetError(error, "tcgetattr");
        return false;
    }
    ::cfmakeraw(&t);
    // The tablet's records are plain text; a byte that arrived damaged is better dropped
    // by the driver than parsed as part of a coordinate.
    t.c_iflag |= IGNPAR;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    static const tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= kSizes[s.dataBits - 5];
    if (s.parity != 'N') t.c_cflag |= PARENB | (s.parity == 'O' ? PARODD : 0);
    if (s.parity != 'N') t.c_iflag |= INPCK;
    if (s.stopBits == 2) t.c_cflag |= CSTOPB;
    if (s.flowControl == 1) t.c_iflag |= IXON | IXOFF;
    if (s.flowControl == 2) t.c_cflag |= CRTSCTS;
    // VMIN 1 with O_NONBLOCK: an empty queue reads as EAGAIN, so a read of 0 bytes can
    // only mean a hang-up. (With VMIN 0 the driver gives 0 for "nothing yet" as well.)
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        SetError(error, "tcsetattr");
        return false;
    }
    return true;
}

SerialOpenResult SerialPort::Open(const SerialSettings& settings, std::string* error) {
    Close();
    const int fd = ::open(settings.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, settings.device);
        return SerialOpenResult::OpenFailed;
    }
    if (!::isatty(fd)) {
        errno = ENOTTY;
        SetError(error, settings.device);
        ::close(fd);
        return SerialOpenResult::OpenFailed;
    }
    // Root passes TIOCEXCL; the advisory lock still keeps a second program of ours out.
    if (::ioctl(fd, TIOCEXCL) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        SetError(error, settings.device);
        ::close(fd);
        return SerialOpenResult::OpenFailed;
    }
    m_fd = fd;
    Purge();
    SetDtr(true);
    if (!ApplySerialSettings(fd, settings, error)) return SerialOpenResult::ConfigFailed;
    return SerialOpenResult::Ok;
}

bool SerialPort::Write(const std::string& bytes, int timeoutMs) {
    if (m_fd < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return false;
        pollfd p{m_fd, POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
    return true;
}

SerialReadResult SerialPort::ReadAvailable(std::string& out) {
    if (m_fd < 0) return SerialReadResult::Lost;
    bool any = false;
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, static_cast<std::size_t>(n));
            any = true;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return any ? SerialReadResult::Data : SerialReadResult::Nothing;
        // 0 from a non-blocking tty means the other end hung up; EIO that the device went.
        return any ? SerialReadResult::Data : SerialReadResult::Lost;
    }
}

bool SerialPort::SetDtr(bool raised) {
    if (m_fd < 0) return false;
    int bits = TIOCM_DTR;
    if (::ioctl(m_fd, raised ? TIOCMBIS : TIOCMBIC, &bits) == 0) return true;
    return errno == ENOTTY || errno == EINVAL;
}

void SerialPort::Purge() {
    if (m_fd >= 0) ::tcflush(m_fd, TCIOFLUSH);
}

std::vector<std::string> ListSerialDevices(const std::string& devRoot) {
    namespace fs = std::filesystem;
    std::vector<std::string> byId, kernel;
    std::error_code ec;
    for (fs::directory_iterator it(devRoot + "/serial/by-id", ec), end; !ec && it != end; it.increment(ec))
        byId.push_back(it->path().string());
    static const char* const kPrefixes[] = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA"};
    ec.clear();
    for (fs::directory_iterator it(devRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (const char* prefix : kPrefixes) {
            const std::size_t len = std::strlen(prefix);
            if (name.size() > len && name.compare(0, len, prefix) == 0 &&
                std::all_of(name.begin() + len, name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                kernel.push_back(it->path().string());
                break;
            }
        }
    }
    std::sort(byId.begin(), byId.end());
    // Natural order, so ttyS2 comes before ttyS10.
    std::sort(kernel.begin(), kernel.end(), [](const std::string& a, const std::string& b) {
        auto split = [](const std::string& s) {
            std::size_t i = s.size();
            while (i > 0 && s[i - 1] >= '0' && s[i - 1] <= '9') --i;
            return std::make_pair(s.substr(0, i), std::stol(s.substr(i)));
        };
        return split(a) < split(b);
    });
    byId.insert(byId.end(), kernel.begin(), kernel.end());
    return byId;
}

}  // namespace wv
