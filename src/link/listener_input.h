#pragma once
// What a memory-dump decoder has of the listener thread that runs it: the listener's port, read
// and asked through here, and waits that end as soon as the listener is told to stop, so that
// closing the port never waits for a decoder that waits for the meter.
//
// A request is one turn on the port's line (LinkPort::TakeTurn): what waits is dropped and the
// command goes out whole, and a line that the user-interface thread writes meanwhile goes before
// or after it, never between.

#include <cstddef>

class LinkPort;

class ListenerInput {
public:
    enum class Wait { Input, Timeout, Stopped };

    explicit ListenerInput(LinkPort& port) : m_port(port) {}
    virtual ~ListenerInput() = default;
    ListenerInput(const ListenerInput&) = delete;
    ListenerInput& operator=(const ListenerInput&) = delete;

    // What has arrived, at most `length` bytes, possibly nothing; 0, or the port's error.
    int ReadArrived(void* buffer, size_t length, size_t* read);
    // Drops what waits in the port, then sends the command of `code` (command_code).
    void Request(int code);
    // Until bytes wait on the port, `programMs` pass or the listener must end. A port whose
    // device went away has no input: the wait lasts its whole time.
    virtual Wait WaitForInput(unsigned programMs) = 0;
    // A pause; false when it ended because the listener must end.
    virtual bool Pause(unsigned programMs) = 0;

protected:
    LinkPort& Port() const { return m_port; }

private:
    LinkPort& m_port;
};
