#pragma once
// The memory-dump decoder's host: what the decoder hands over on the listener thread is posted
// here by value and carried out on the user-interface thread (the dump file's writes, the
// download's progress for the frame's progress timer, and its end: "DMP:OFF" queued).

#include <cstdint>
#include <string>

#include "acquisition/dump_decoder_host.h"
#include "platform/messages.h"

class FrameNotices;
class LinkSession;
namespace acquisition {
class DumpDecoder;
}

// How far a download has come: the meter's file and line the decoder last reached.
struct DownloadProgress {
    int file = 0;
    int line = 0;
};

class FrameDumpHost : public platform::MessageTarget, public acquisition::DumpDecoderHost {
public:
    // `decoder` is the one this host serves; it may be built after the host.
    FrameDumpHost(LinkSession& link, FrameNotices& notices, acquisition::DumpDecoder& decoder)
        : m_link(link), m_notices(notices), m_decoder(decoder) {}

    DownloadProgress& Progress() { return m_progress; }

    // Listener thread.
    void AppendDumpBytes(std::string bytes) override;
    void DumpProgress(int file, int record) override;
    void DumpFinished(std::string message) override;

    // User-interface thread.
    void OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void OnTextMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                       const std::string& text) override;

private:
    enum Message : unsigned { kAppend = 1, kProgress, kFinished };
    // A write that failed stops the download with one message; nothing after it is written.
    void WriteDumpBytes(const std::string& bytes);

    LinkSession& m_link;
    FrameNotices& m_notices;
    acquisition::DumpDecoder& m_decoder;
    DownloadProgress m_progress;
};
