#include "link/serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

#include "link/serial_line_settings.h"
#include "platform/clock.h"
#include "platform/com_ports.h"

namespace {

constexpr int kIoWaitMs = 100;

int ErrnoToWindows(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENXIO:
        case ENODEV:
            return serial_error::kFileNotFound;
        case EACCES:
        case EPERM:
        case EBUSY:
        case EWOULDBLOCK:
            return serial_error::kAccessDenied;
        case EINVAL:
            return serial_error::kInvalidParameter;
        case ENOTTY:
            return serial_error::kInvalidFunction;
        case EIO:
            return serial_error::kIoDevice;
        default:
            return serial_error::kGeneralFailure;
    }
}

PortOpenFailure OpenFailureOf(int error) {
    switch (error) {
        case EBUSY:  // another program's exclusive mode
            return PortOpenFailure::InUse;
        case EACCES:
        case EPERM:
            return PortOpenFailure::NoPermission;
        case ENOENT:
        case ENOTDIR:
        case ENXIO:
        case ENODEV:
            return PortOpenFailure::Missing;
        default:
            return PortOpenFailure::Other;
    }
}

// A pseudo-terminal has no modem lines; refusing to set them is no failure.
void SetModemLine(int fd, int line, bool on) {
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

std::mutex g_logMutex;
std::function<void(const std::string&)> g_pendingReadLog;

}  // namespace

CSerial::~CSerial() {
    if (IsOpen())
        CSerial::Close();
}

void CSerial::SetPendingReadLog(std::function<void(const std::string&)> log) {
    std::lock_guard lock(g_logMutex);
    g_pendingReadLog = std::move(log);
}

int CSerial::FailErrno() {
    return Fail(ErrnoToWindows(errno));
}

int CSerial::Begin() {
    m_lastError = ERROR_SUCCESS;
    return IsOpen() ? ERROR_SUCCESS : Fail(ERROR_INVALID_HANDLE);
}

int CSerial::Open(const std::string& device, int inputQueue, int outputQueue) {
    m_lastError = ERROR_SUCCESS;
    if (IsOpen())
        return Fail(ERROR_ALREADY_INITIALIZED);
    if (inputQueue < 0 || outputQueue < 0)
        return Fail(serial_error::kInvalidParameter);

    const std::string path = platform::ResolveDeviceName(device);
    NoteOpenFailure(PortOpenFailure::None, path);
    // A port number of 0 or less names no device: there is nothing to try.
    if (path.empty()) {
        NoteOpenFailure(PortOpenFailure::NoPort, path);
        return Fail(serial_error::kFileNotFound);
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        NoteOpenFailure(OpenFailureOf(errno), path);
        return FailErrno();
    }
    // Windows opens a port unshared. TIOCEXCL alone does not stop root, the lock does.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        NoteOpenFailure(PortOpenFailure::InUse, path);
        return Fail(serial_error::kAccessDenied);
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        NoteOpenFailure(PortOpenFailure::Other, path);
        return Fail(ErrnoToWindows(error));
    }
    ::ioctl(fd, TIOCEXCL);
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        NoteOpenFailure(PortOpenFailure::Other, path);
        return Fail(ErrnoToWindows(error));
    }
    // A port opens with empty queues, whatever the device kept from before.
    ::tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    m_lastEvent = -1;
    m_eventChar = 0;

    SetMask(EV_RXCHAR);
    Setup(9600, 8, NoParity, OneStopBit);
    SetupReadTimeouts(NonBlockingReads);
    SetupHandshaking(NoHandshake);
    m_lastError = ERROR_SUCCESS;
    return ERROR_SUCCESS;
}

int CSerial::Close() {
    m_lastError = ERROR_SUCCESS;
    if (!IsOpen())
        return ERROR_SUCCESS;
    // Exclusive mode stays on a terminal that someone else keeps open; leave it reopenable.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_eventMask = 0;
    return ERROR_SUCCESS;
}

int CSerial::Setup(int baudRate, int dataBits, int parity, int stopBits) {
    if (Begin())
        return m_lastError;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return FailErrno();
    if (!ApplyLineSettings(tio, {baudRate, dataBits, parity, stopBits}))
        return Fail(serial_error::kInvalidParameter);
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0)
        return FailErrno();
    m_stopBitsSetting = stopBits;
    SetModemLine(m_fd, TIOCM_RTS, true);
    return ERROR_SUCCESS;
}

int CSerial::SetEventChar(BYTE eventChar, bool adjustMask) {
    if (Begin())
        return m_lastError;
    m_eventChar = eventChar;
    if (adjustMask)
        m_eventMask |= EV_RXFLAG;
    return ERROR_SUCCESS;
}

int CSerial::SetMask(unsigned mask) {
    if (Begin())
        return m_lastError;
    m_eventMask = mask;
    return ERROR_SUCCESS;
}

int CSerial::WaitEvent(unsigned timeoutMs) {
    if (Begin())
        return m_lastError;
    const int programMs = timeoutMs == kInfinite ? -1 : static_cast<int>(timeoutMs);
    const unsigned watched = m_eventMask & (EV_RXCHAR | EV_RXFLAG);
    if (!watched) {
        // Nothing can signal; a wait without limit would never end.
        if (programMs > 0)
            platform::Clock::Sleep(programMs);
        return Fail(ERROR_TIMEOUT);
    }
    const int ready = WaitReady(POLLIN, programMs);
    if (ready < 0)
        return m_lastError;
    if (ready == 0)
        return Fail(ERROR_TIMEOUT);
    // The event character cannot be looked for without taking the bytes; any byte signals.
    m_lastEvent = static_cast<int>(watched & EV_RXCHAR ? EV_RXCHAR : EV_RXFLAG);
    return ERROR_SUCCESS;
}

int CSerial::SetupHandshaking(int mode) {
    if (Begin())
        return m_lastError;
    if (mode < NoHandshake || mode > SoftwareHandshake)
        return Fail(E_INVALIDARG);
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return FailErrno();
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (mode == HardwareHandshake)
        tio.c_cflag |= CRTSCTS;
    else if (mode == SoftwareHandshake)
        tio.c_iflag |= IXON | IXOFF;
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0)
        return FailErrno();
    if (mode == HardwareHandshake)
        SetModemLine(m_fd, TIOCM_DTR, true);
    return ERROR_SUCCESS;
}

int CSerial::SetupReadTimeouts(int mode) {
    if (Begin())
        return m_lastError;
    if (mode != NonBlockingReads && mode != BlockingReads)
        return Fail(E_INVALIDARG);
    m_readTimeouts = mode;
    return ERROR_SUCCESS;
}

std::optional<LineSettings> CSerial::ReadLine() {
    if (Begin())
        return std::nullopt;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) {
        FailErrno();
        return std::nullopt;
    }
    return ReadLineSettings(tio, m_stopBitsSetting);
}

int CSerial::GetBaudrate() {
    const auto line = ReadLine();
    return line ? line->baudRate : -1;
}

int CSerial::GetDataBits() {
    const auto line = ReadLine();
    return line ? line->dataBits : -1;
}

int CSerial::GetParity() {
    const auto line = ReadLine();
    return line ? line->parity : -1;
}

int CSerial::GetStopBits() {
    const auto line = ReadLine();
    return line ? line->stopBits : -1;
}

int CSerial::GetHandshaking() {
    if (Begin())
        return -1;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) {
        FailErrno();
        return -1;
    }
    if (tio.c_cflag & CRTSCTS)
        return HardwareHandshake;
    if ((tio.c_iflag & IXON) && (tio.c_iflag & IXOFF))
        return SoftwareHandshake;
    return NoHandshake;
}

unsigned CSerial::GetEventMask() {
    if (Begin())
        return 0;
    return m_eventMask;
}

BYTE CSerial::GetEventChar() {
    if (Begin())
        return 0;
    return m_eventChar;
}

// > 0 ready, 0 timed out, < 0 failed (last error set). -1 program ms waits without limit.
int CSerial::WaitReady(short events, int programMs) {
    pollfd pfd{m_fd, events, 0};
    const int realMs = programMs < 0 ? -1 : platform::Clock::ToRealMs(programMs);
    for (;;) {
        const int r = ::poll(&pfd, 1, realMs);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            FailErrno();
            return -1;
        }
        if (r > 0 && (pfd.revents & (POLLERR | POLLNVAL))) {
            Fail(serial_error::kIoDevice);
            return -1;
        }
        return r;
    }
}

int CSerial::WriteBytes(const std::string& text, size_t* written) {
    return Write(text.c_str(), std::strlen(text.c_str()), written);
}

int CSerial::Write(const void* data, size_t length, size_t* written) {
    const Turn turn = TakeTurn();
    if (written)
        *written = 0;
    if (Begin())
        return m_lastError;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const size_t done = Transfer(length, POLLOUT, true,
                                 [&](size_t at) { return ::write(m_fd, bytes + at, length - at); });
    if (written)
        *written = done;
    return m_lastError;
}

int CSerial::WriteBuffer(const void* data, size_t length, size_t* written) {
    return Write(data, length, written);
}

int CSerial::WriteByte(BYTE byte, size_t* written) {
    return Write(&byte, 1, written);
}

int CSerial::ReadBytes(void* buffer, size_t length, size_t* read) {
    if (read)
        *read = 0;
    if (Begin())
        return m_lastError;
    auto* bytes = static_cast<unsigned char*>(buffer);
    bool waited = false;
    const size_t done = Transfer(
        length, POLLIN, m_readTimeouts != NonBlockingReads,
        [&](size_t at) { return ::read(m_fd, bytes + at, length - at); }, &waited);
    if (waited) {
        std::lock_guard lock(g_logMutex);
        if (g_pendingReadLog)
            g_pendingReadLog("Serial read:" + std::string(reinterpret_cast<char*>(bytes), done));
    }
    if (read)
        *read = done;
    return m_lastError;
}

size_t CSerial::Transfer(size_t length, short readiness, bool mayWait,
                         const std::function<ssize_t(size_t done)>& step, bool* waited) {
    size_t done = 0;
    const std::uint32_t start = platform::Clock::TickCount();
    while (done < length) {
        const ssize_t n = step(done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            FailErrno();
            break;
        }
        if (!mayWait)
            break;
        if (waited)
            *waited = true;
        const int left = kIoWaitMs - static_cast<int>(platform::Clock::TickCount() - start);
        const int ready = left > 0 ? WaitReady(readiness, left) : 0;
        if (ready < 0)
            break;
        if (ready == 0) {
            Fail(ERROR_TIMEOUT);
            break;
        }
    }
    return done;
}

int CSerial::PurgeBytes() {
    if (Begin())
        return m_lastError;
    if (::tcflush(m_fd, TCIOFLUSH) != 0)
        return FailErrno();
    return ERROR_SUCCESS;
}

int CSerial::OpenFor(int comNumber, platform::MessageTarget* /*owner*/) {
    return Open(ComPortDevice(comNumber));
}

int CSerial::SetUp(const PortSettings& settings) {
    if (settings.handshaking)
        if (const int result = SetupHandshaking(*settings.handshaking))
            return result;
    const LineSettings& line = settings.line;
    return Setup(line.baudRate, line.dataBits, line.parity, line.stopBits);
}

int CSerial::Reopen(const PortSettings& settings) {
    Close();
    if (const int result = Open(ComPortDevice(settings.comNumber)))
        return result;
    return SetUp(settings);
}

int CSerial::GetEventType() {
    return std::exchange(m_lastEvent, -1);
}
