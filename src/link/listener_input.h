#pragma once
// What a memory-dump decoder has of the listener thread that runs it: the listener's port, and
// waits that end as soon as the listener is told to stop, so that closing the port never waits
// for a decoder that waits for the meter.

class LinkPort;

class ListenerInput {
public:
    enum class Wait { Input, Timeout, Stopped };

    virtual ~ListenerInput() = default;
    virtual LinkPort& Port() = 0;
    // Until bytes wait on the port, `programMs` pass or the listener must end. A port whose
    // device went away has no input: the wait lasts its whole time.
    virtual Wait WaitForInput(unsigned programMs) = 0;
    // A pause; false when it ended because the listener must end.
    virtual bool Pause(unsigned programMs) = 0;
};
