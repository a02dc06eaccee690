#pragma once
// The decoder of the meter's memory dump. While the frame downloads, the link port's listener
// thread calls Decode again and again; each call reads one record (or meets one failure) from
// the port, checks it against the record layout, and asks the meter for the next record
// ("DMP:NE") or the same again ("DMP:RE") through the listener's input, each request one turn
// on the port's line (ListenerInput::Request). Everything else goes to the application by
// value through DumpDecoderHost: the bytes for the dump file, the progress, and the end of the
// download, which the application tells the meter through its command queue. The decoder never
// touches the queue.
//
// A valid record is held until the next one starts (or the download ends) and then written
// once. A file the meter cut short is closed in the dump file by a synthetic end record.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "acquisition/dump_decoder_host.h"
#include "records/record_layout.h"

class LinkReplyState;
class ListenerInput;

namespace acquisition {

class DumpDecoder {
public:
    // The tenth failure in a row (a bad record, a refusal, silence) ends the download.
    static constexpr int kMaxFailures = 10;
    // Silence after which a read has failed: 2000 reads 5 ms apart.
    static constexpr unsigned kSilenceMs = 10000;
    static constexpr unsigned kRepeatPauseMs = 1000;

    // `link` is the listener's shared state: its dump mode is the frame's download flag.
    DumpDecoder(LinkReplyState& link, DumpDecoderHost& host);
    DumpDecoder(const DumpDecoder&) = delete;
    DumpDecoder& operator=(const DumpDecoder&) = delete;

    // --- the user-interface thread
    // A download begins: no failure, nothing counted, no cancel.
    void PrepareDownload();
    // The meter announced `files` files: nothing held, no file open. End records are stamped
    // with the connected meter's model.
    void Start(int files, const std::string& model, bool extendedRange);
    // "Cancel Download", from any thread: the download ends at once, what came is kept.
    void RequestCancel() { m_cancel = true; }
    bool IsCancelRequested() const { return m_cancel; }
    // A download the application ends itself (a command timed out, the link closed): the held
    // record is written, a file cut short gets its synthetic end, dump mode ends. Nothing is
    // said to the meter or the host's DumpFinished. A Decode call in progress gives way first.
    void Interrupt();

    // --- the listener thread
    void Decode(ListenerInput& input);

private:
    enum class Read { Done, Failed, Cancelled, Stopped };
    enum class Scan { Record, Failure, DumpError, EndOfDump, Cancelled, Stopped };

    Scan ScanToRecord(ListenerInput& input);
    // Reads `count` bytes into m_record from `at` on.
    Read ReadRecordBytes(ListenerInput& input, size_t at, size_t count);
    // Waits until bytes are there; Failed after kSilenceMs without any.
    Read FillInput(ListenerInput& input);
    // Asks the meter for a record (command_code::kDumpNext or kDumpRepeat), dropping what
    // came before.
    void Ask(ListenerInput& input, int code);

    void OnRecord(ListenerInput& input);
    void OnValidRecord(ListenerInput& input, records::DumpRecordSize size);
    void OnBadRecord(ListenerInput& input);
    void OnFailure(ListenerInput& input);
    // Cancelled: what came stays, the download ends.
    void EndCancelled();
    // A repeat of the record the meter sent last, after a pause; false when the listener ended.
    bool Repeat(ListenerInput& input);

    void Append(std::string bytes);
    void AppendHeld();
    // Closes a file left open by the meter with the synthetic end record.
    void CloseOpenFile();
    void EndDumpMode();
    void Finish(std::string message);
    bool ShouldYield() const { return m_interrupt || m_cancel; }

    LinkReplyState& m_link;
    DumpDecoderHost& m_host;
    std::mutex m_mutex;  // held by Decode and by the user-interface thread's calls
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_interrupt{false};

    // The bytes read from the port and not yet used.
    std::array<unsigned char, records::kDumpRecordBufferBytes> m_input{};
    size_t m_inputStart = 0;
    size_t m_inputEnd = 0;
    std::string m_scanTail;

    std::array<unsigned char, records::kDumpRecordBufferBytes> m_record{};
    std::optional<std::string> m_held;
    // The last record's level text and flags byte, for a synthetic end record.
    std::string m_lastLevel;
    unsigned char m_lastFlags = 0;
    bool m_reportOrEventSetup = false;
    // Set when the last file ended with an end record (or none began).
    bool m_fileEnded = true;
    int m_filesLeft = 0;
    int m_failures = 0;
    int m_fileCount = 0;
    int m_recordCount = 0;
    std::string m_model;
    bool m_extendedRange = false;
};

}  // namespace acquisition
