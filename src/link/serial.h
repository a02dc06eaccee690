#pragma once
// One serial port, on POSIX termios, with the Windows meaning of its settings and results that
// the rest of the program compares with: 0 success, 6 not open, 1247 already open, 1460 time-out,
// E_INVALIDARG for a mode it does not know. Ports are named "COM3", "\\.\COM12" or by path.
//
// Reads and writes wait at most 100 ms of program time. The port is opened for exclusive use: a
// second open of the same device, from this process or another, is refused. Such a refusal and a
// device the user has no rights on both give kAccessDenied; LastOpenFailure tells them apart.

#include <sys/types.h>
#include <cstddef>

#include <functional>
#include <optional>
#include <string>

#include "link/link_port.h"
#include "platform/win_types.h"

struct LineSettings;
struct PortSettings;

// The few further Windows error codes that a failed system call maps to.
namespace serial_error {
constexpr int kInvalidFunction = 1;  // not a serial device
constexpr int kFileNotFound = 2;
constexpr int kAccessDenied = 5;  // in use elsewhere, or no permission
constexpr int kInvalidParameter = 87;
constexpr int kGeneralFailure = 31;
constexpr int kIoDevice = 1117;
}  // namespace serial_error

class CSerial : public LinkPort {
public:
    // Communication events (Windows values).
    static constexpr unsigned EV_RXCHAR = 0x0001;
    static constexpr unsigned EV_RXFLAG = 0x0002;
    static constexpr unsigned kInfinite = 0xFFFFFFFFu;

    enum Parity { NoParity = 0, OddParity = 1, EvenParity = 2, MarkParity = 3, SpaceParity = 4 };
    enum StopBits { OneStopBit = 0, OneAndHalfStopBits = 1, TwoStopBits = 2 };
    enum Handshake { NoHandshake = 0, HardwareHandshake = 1, SoftwareHandshake = 2 };
    enum ReadTimeouts { NonBlockingReads = 0, BlockingReads = 1 };

    CSerial() = default;
    ~CSerial() override;
    CSerial(const CSerial&) = delete;
    CSerial& operator=(const CSerial&) = delete;

    // Opens the device and gives it 9600 baud, 8 data bits, no parity, one stop bit,
    // non-blocking reads and no handshaking. The queue sizes are the driver's business here.
    virtual int Open(const std::string& device, int inputQueue = 0, int outputQueue = 0);
    int Close() override;
    virtual int Setup(int baudRate = 9600, int dataBits = 8, int parity = NoParity,
                      int stopBits = OneStopBit);
    virtual int SetEventChar(BYTE eventChar, bool adjustMask = true);
    virtual int SetMask(unsigned mask);
    // Waits up to `timeoutMs` for a received character; 1460 when none came.
    virtual int WaitEvent(unsigned timeoutMs = kInfinite);
    virtual int SetupHandshaking(int mode);
    virtual int SetupReadTimeouts(int mode);

    virtual int GetBaudrate();
    virtual int GetDataBits();
    virtual int GetParity();
    virtual int GetStopBits();
    virtual int GetHandshaking();
    virtual unsigned GetEventMask();
    virtual BYTE GetEventChar();

    // Each takes the line's turn (LinkPort::TakeTurn) for its time.
    virtual int Write(const void* data, size_t length, size_t* written = nullptr);
    virtual int WriteBuffer(const void* data, size_t length, size_t* written = nullptr);
    virtual int WriteByte(BYTE byte, size_t* written = nullptr);
    int OpenFor(int comNumber, platform::MessageTarget* owner) override;
    int SetUp(const PortSettings& settings) override;
    int Reopen(const PortSettings& settings) override;
    // The event seen by the last WaitEvent, then -1.
    int GetEventType();

    int GetLastError() const { return m_lastError; }
    bool IsOpen() const override { return m_fd >= 0; }
    // The open descriptor, for the listener's sleep; -1 while closed.
    int Descriptor() const override { return m_fd; }

    // Where a blocking read that had to wait says so (the bench's event log).
    static void SetPendingReadLog(std::function<void(const std::string&)> log);

protected:
    // Writes the text up to its first NUL.
    int WriteBytes(const std::string& text, size_t* written) override;
    // Non-blocking reads return what has arrived, possibly nothing; blocking reads wait for
    // `length` bytes and give 1460 with what came when 100 ms pass first.
    int ReadBytes(void* buffer, size_t length, size_t* read) override;
    // Discards both directions' queued bytes.
    int PurgeBytes() override;
    int Fail(int code) { return m_lastError = code; }
    int FailErrno();
    int Begin();  // resets the last error; 6 when closed

private:
    int WaitReady(short events, int programMs);
    // Moves bytes with `step` (one read() or write() from an offset) until `length` are done;
    // while `mayWait`, waits for `readiness` up to the 100 ms limit, then fails with 1460.
    size_t Transfer(size_t length, short readiness, bool mayWait,
                    const std::function<ssize_t(size_t done)>& step, bool* waited = nullptr);
    std::optional<LineSettings> ReadLine();

    int m_lastError = 0;
    int m_fd = -1;
    int m_lastEvent = -1;
    unsigned m_eventMask = 0;
    BYTE m_eventChar = 0;
    int m_readTimeouts = NonBlockingReads;
    // termios has one flag for one-and-a-half and two stop bits.
    int m_stopBitsSetting = OneStopBit;
};
