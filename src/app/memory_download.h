#pragma once
// A download of the meter's memory on the program's side: the replies that begin it ("DMP:ON":
// the files counted, the operator asked), clear the memory and end it ("DMP:OFF": the dump file
// closed and announced, or a refused download cleaned up), its progress on the title and in the
// download box (timer 4), and a download that the meter's silence interrupts, or that ends a
// scheduled run, as a step of it that the meter refuses does. The dump itself is read and
// decoded by the data-acquisition side on the listener thread. It registers its replies, timer
// 4's job, its time-outs and its lost commands when it is built.

#include <string>

class CCommand;
class CInstrStatus;
class FrameLinkHost;
class FrameNotices;
class FrameScheduler;
class FrameTimers;
class FrameUi;
class LinkSession;
struct DownloadProgress;

namespace acquisition {
class DumpDecoder;
class DumpFile;
}  // namespace acquisition

class MemoryDownload {
public:
    // What the download uses, none of it owned.
    struct Uses {
        LinkSession& link;
        FrameLinkHost& linkHost;
        FrameTimers& timers;
        // The title and the download box.
        FrameUi& ui;
        FrameNotices& notices;
        // The meter's setup as last read: its model and range, which the decoder reads with.
        const CInstrStatus& current;
        acquisition::DumpDecoder& decoder;
        // The meter's file and line the decoder last reached.
        const DownloadProgress& progress;
        // The application's: the dump file, the current data file and its selected graph.
        acquisition::DumpFile& dumpFile;
        std::string& currentFile;
        int& selectedGraph;
        const std::string& programFolder;
        // A scheduled run, which a download ends.
        FrameScheduler& scheduler;
    };

    explicit MemoryDownload(const Uses& uses);
    ~MemoryDownload();
    MemoryDownload(const MemoryDownload&) = delete;
    MemoryDownload& operator=(const MemoryDownload&) = delete;

private:
    void OnDumpOnReply(const std::string& reply);
    void OnDumpOffReply();
    // A download whose command went unanswered: the dump marked incomplete, the meter told.
    void EndInterruptedDownload();
    // A command timed out while a download ran: true when it ended the download or its run.
    bool TakeTimeOut();
    // A command refused, left empty or answered in the wrong state: a scheduled run whose
    // download it leaves with no way on ends.
    void OnCommandLost(const CCommand& command);
    // A scheduled run waiting for its download ends; false when none waits.
    bool EndScheduledDownload();
    // Timer 4: the file and line reached, on the title while minimised and in the box.
    void OnDownloadProgressTimer();

    Uses m_uses;
};
