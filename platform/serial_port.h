// A serial port on termios, in place of the Windows COM handle: one device path, opened
// exclusively, raw, with the line settings the user chose. Everything here is
// non-blocking; the watcher (serial_watcher.h) waits on the descriptor.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace wv {

// Line settings of the port, as the port-settings dialog stores them.
struct SerialSettings {
    std::string device = "/dev/ttyS0";  // COM1 is the first on-board UART
    int baudRate = 9600;
    int dataBits = 8;      // 5 to 8
    char parity = 'N';     // 'N' none, 'O' odd, 'E' even
    int stopBits = 1;      // 1 or 2
    int flowControl = 0;   // 0 none, 1 XON/XOFF, 2 RTS/CTS

    bool operator==(const SerialSettings&) const = default;
};

// Why an open failed: the device could not be had at all, or it refused the line settings.
enum class SerialOpenResult { Ok, OpenFailed, ConfigFailed };

// The outcome of draining the port without waiting.
enum class SerialReadResult { Data, Nothing, Lost };

class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Closes what is open, then opens the device for reading and writing, exclusively
    // (TIOCEXCL keeps other opens out, the flock keeps out a second program even when it
    // runs as root), raw with IGNPAR so that bytes with framing or parity errors never
    // reach us, purged, with DTR raised. After ConfigFailed the port stays open, as the
    // original handle did; `error` receives the system's reason.
    SerialOpenResult Open(const SerialSettings& settings, std::string* error = nullptr);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    // Writes all bytes within `timeoutMs`; false on a time-out or an error.
    bool Write(const std::string& bytes, int timeoutMs);
    // Moves every byte the driver holds into `out` (appended). Lost: the device is gone
    // (hang-up, EIO) and will give nothing more.
    SerialReadResult ReadAvailable(std::string& out);

    // DTR tells the tablet that a host listens. Ptys and some adapters have no modem
    // lines (ENOTTY, EINVAL): that is not an error.
    bool SetDtr(bool raised);
    // Throws away what waits in both directions.
    void Purge();

    // The write time-out of the original: 5 ms per byte plus 50 ms.
    static int WriteTimeoutMs(std::size_t bytes) { return static_cast<int>(bytes) * 5 + 50; }

private:
    int m_fd = -1;
};

// Applies raw mode and the line settings to a descriptor's termios; false when a value is
// outside what the driver takes.
bool ApplySerialSettings(int fd, const SerialSettings& settings, std::string* error);

// The serial devices present: stable /dev/serial/by-id names first (they survive
// re-plugging), then the kernel names (ttyS, ttyUSB, ttyACM, ttyAMA), each sorted.
std::vector<std::string> ListSerialDevices(const std::string& devRoot = "/dev");

}  // namespace wv
