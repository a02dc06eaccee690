#pragma once
// What the memory-dump decoder hands to the application. The decoder runs on the serial
// listener thread: each call gives its value away and returns at once; the application acts on
// it later on the user-interface thread, in the order of the calls.

#include <string>

namespace acquisition {

class DumpDecoderHost {
public:
    virtual ~DumpDecoderHost() = default;
    // Bytes for the end of the dump file.
    virtual void AppendDumpBytes(std::string bytes) = 0;
    // The file being downloaded (counted from 1) and its record.
    virtual void DumpProgress(int file, int record) = 0;
    // The download is over: the meter is told so ("DMP:OFF" through the command queue), after
    // `message` when there is one ("Download error").
    virtual void DumpFinished(std::string message) = 0;
};

}  // namespace acquisition
