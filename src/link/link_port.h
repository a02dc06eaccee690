#pragma once
// What the link needs of a serial port: CSerial is one; unit tests give an in-memory one.

#include <cstddef>
#include <string>

struct LineSettings;
namespace platform {
class MessageTarget;
}

class LinkPort {
public:
    virtual ~LinkPort() = default;

    virtual bool IsOpen() const = 0;
    // Writes the text up to its first NUL; 0 on success.
    virtual int WriteString(const std::string& text, size_t* written = nullptr) = 0;
    // What has arrived, at most `length` bytes, possibly nothing.
    virtual int Read(void* buffer, size_t length, size_t* read = nullptr) = 0;
    // Discards what waits in both directions, and a reply half collected.
    virtual int Purge() = 0;
    // What a wait for input sleeps on; -1 while closed or without one.
    virtual int Descriptor() const = 0;
    virtual int Close() = 0;
    // Opens `device`; a port with a listener posts its replies and alarms to `owner`.
    virtual int OpenFor(const std::string& device, platform::MessageTarget* owner) = 0;
    // Closes the port and opens `device` again (for the listener's owner it had), with the
    // line settings and handshaking mode; 0, or the first error.
    virtual int Reopen(const std::string& device, const LineSettings& line, int handshaking) = 0;
};
