#pragma once
// What the link needs of a serial port: CSerial is one; unit tests give an in-memory one.
//
// A port has one line, and one thread at a time has a turn on it: every write, read and purge
// takes the turn for its time, so that two threads' bytes never interleave on the wire and
// never meet in the port's state. A caller whose bytes belong together (a purge and the request
// that follows it, the modem's guarded escape) takes the turn around all of them; the user-
// interface thread's lines and a download's requests on the listener thread take turns this way.

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <utility>

struct PortSettings;
namespace platform {
class MessageTarget;
}

// Why a port did not open, which its error code does not tell apart: another program's lock,
// the user's rights on the device, a device that is not there, a port number that names no
// port (0 or less: nothing was tried), or something else.
enum class PortOpenFailure { None, InUse, NoPermission, Missing, NoPort, Other };

class LinkPort {
public:
    // Held, the line is the holder's; the same thread may take it again meanwhile.
    using Turn = std::unique_lock<std::recursive_mutex>;

    virtual ~LinkPort() = default;

    virtual bool IsOpen() const = 0;
    // Writes the text up to its first NUL; 0 on success.
    int WriteString(const std::string& text, size_t* written = nullptr);
    // What has arrived, at most `length` bytes, possibly nothing.
    int Read(void* buffer, size_t length, size_t* read = nullptr);
    // Discards what waits in both directions, and a reply half collected.
    int Purge();
    // Waits until the line is free and keeps it until the turn ends.
    Turn TakeTurn();
    // How many threads wait for their turn now.
    int TurnsWaiting() const { return m_waiting.load(); }

    // What a wait for input sleeps on; -1 while closed or without one.
    virtual int Descriptor() const = 0;
    // Why the port's last open failed; None after one that succeeded.
    PortOpenFailure LastOpenFailure() const { return m_openFailure; }
    // The device path that open tried; empty when it named none.
    const std::string& LastOpenDevice() const { return m_openDevice; }

protected:
    // A port's life is the link session's alone: whoever else holds a port talks through it.
    friend class LinkSession;

    // Never inside a turn: closing ends the port's listener, which may be waiting for one.
    virtual int Close() = 0;
    // Opens the port of COM `comNumber` as a port opens (9600 baud, 8N1, no handshaking); a
    // port with a listener posts its replies and alarms to `owner`.
    virtual int OpenFor(int comNumber, platform::MessageTarget* owner) = 0;
    // Gives the open port the settings' handshaking, when they name one, then their line; 0,
    // or the first error.
    virtual int SetUp(const PortSettings& settings) = 0;
    // Closes the port and opens the settings' port again (for the listener's owner it had),
    // set up with them; 0, or the first error.
    virtual int Reopen(const PortSettings& settings) = 0;

    // The port's own writing, reading and purging, each called within a turn.
    virtual int WriteBytes(const std::string& text, size_t* written) = 0;
    virtual int ReadBytes(void* buffer, size_t length, size_t* read) = 0;
    virtual int PurgeBytes() = 0;

    void NoteOpenFailure(PortOpenFailure failure, std::string device) {
        m_openFailure = failure;
        m_openDevice = std::move(device);
    }

private:
    PortOpenFailure m_openFailure = PortOpenFailure::None;
    std::string m_openDevice;
    std::recursive_mutex m_line;
    std::atomic<int> m_waiting{0};
};
