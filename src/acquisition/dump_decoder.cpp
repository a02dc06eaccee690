#include "acquisition/dump_decoder.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "acquisition/dump_end_model.h"
#include "link/command_codes.h"
#include "link/link_reply_state.h"
#include "link/listener_input.h"
#include "link/protocol_bytes.h"
#include "platform/text.h"

namespace acquisition {

namespace {

// Waits are cut into slices so that a cancel or an interruption is seen within one.
constexpr unsigned kWaitSliceMs = 100;
constexpr std::string_view kDumpError = "DUMP ERROR";
constexpr std::string_view kEndOfDump = "END OF DUMP";
constexpr size_t kScanTailBytes = 16;
constexpr size_t kTypeByte = 3;
constexpr size_t kFlagsByte = 4;

bool IsStart(int type) {
    return type == records::kDumpStart || type == records::kDumpExtendedStart;
}

}  // namespace

DumpDecoder::DumpDecoder(LinkReplyState& link, DumpDecoderHost& host)
    : m_link(link), m_host(host) {}

void DumpDecoder::PrepareDownload() {
    std::lock_guard lock(m_mutex);
    m_failures = 0;
    m_fileCount = 0;
    m_recordCount = 0;
    m_cancel = false;
}

void DumpDecoder::Start(int files, const std::string& model, bool extendedRange) {
    std::lock_guard lock(m_mutex);
    m_filesLeft = files;
    m_fileEnded = true;
    m_held.reset();
    m_reportOrEventSetup = false;
    m_lastLevel.clear();
    m_lastFlags = 0;
    m_inputStart = m_inputEnd = 0;
    m_scanTail.clear();
    m_model = model;
    m_extendedRange = extendedRange;
}

void DumpDecoder::Interrupt() {
    m_interrupt = true;
    std::lock_guard lock(m_mutex);
    m_interrupt = false;
    if (!m_link.dumpMode)
        return;
    AppendHeld();
    CloseOpenFile();
    EndDumpMode();
}

void DumpDecoder::Decode(ListenerInput& input) {
    std::lock_guard lock(m_mutex);
    if (!m_link.dumpMode || m_interrupt)
        return;
    if (m_cancel) {
        EndCancelled();
        return;
    }
    switch (ScanToRecord(input)) {
        case Scan::Record:
            OnRecord(input);
            break;
        case Scan::Failure:
            OnFailure(input);
            break;
        case Scan::DumpError:
            // The download goes on: silence follows, and the repeats end it.
            AppendHeld();
            CloseOpenFile();
            break;
        case Scan::EndOfDump:
            AppendHeld();
            CloseOpenFile();
            Finish({});
            break;
        case Scan::Cancelled:
            if (m_cancel)
                EndCancelled();
            break;
        case Scan::Stopped:
            break;
    }
}

// --- reading

DumpDecoder::Read DumpDecoder::FillInput(ListenerInput& input) {
    unsigned silentMs = 0;
    for (;;) {
        if (ShouldYield())
            return Read::Cancelled;
        size_t got = 0;
        input.ReadArrived(m_input.data(), m_input.size(), &got);
        if (got > 0) {
            m_inputStart = 0;
            m_inputEnd = got;
            return Read::Done;
        }
        if (silentMs >= kSilenceMs)
            return Read::Failed;
        const unsigned slice = std::min(kWaitSliceMs, kSilenceMs - silentMs);
        switch (input.WaitForInput(slice)) {
            case ListenerInput::Wait::Stopped:
                return Read::Stopped;
            case ListenerInput::Wait::Timeout:
                silentMs += slice;
                break;
            case ListenerInput::Wait::Input:
                // Readable yet nothing to read is a line that failed: it counts as silence.
                if (input.ReadArrived(m_input.data(), m_input.size(), &got) == 0 && got > 0) {
                    m_inputStart = 0;
                    m_inputEnd = got;
                    return Read::Done;
                }
                silentMs += slice;
                break;
        }
    }
}

DumpDecoder::Scan DumpDecoder::ScanToRecord(ListenerInput& input) {
    for (;;) {
        if (m_inputStart == m_inputEnd) {
            switch (FillInput(input)) {
                case Read::Done:
                    break;
                case Read::Failed:
                    m_scanTail.clear();
                    return Scan::Failure;
                case Read::Cancelled:
                    return Scan::Cancelled;
                case Read::Stopped:
                    return Scan::Stopped;
            }
        }
        const unsigned char byte = m_input[m_inputStart++];
        if (byte == records::kDumpStartByte) {
            m_scanTail.clear();
            m_record[0] = byte;
            return Scan::Record;
        }
        if (byte == protocol::kNak) {
            m_scanTail.clear();
            return Scan::Failure;
        }
        m_scanTail.push_back(static_cast<char>(byte));
        if (m_scanTail.size() > kScanTailBytes)
            m_scanTail.erase(0, m_scanTail.size() - kScanTailBytes);
        if (platform::EndsWith(m_scanTail, kDumpError)) {
            m_scanTail.clear();
            return Scan::DumpError;
        }
        if (platform::EndsWith(m_scanTail, kEndOfDump)) {
            m_scanTail.clear();
            return Scan::EndOfDump;
        }
    }
}

DumpDecoder::Read DumpDecoder::ReadRecordBytes(ListenerInput& input, size_t at, size_t count) {
    while (count > 0) {
        if (m_inputStart == m_inputEnd)
            if (const Read read = FillInput(input); read != Read::Done)
                return read;
        const size_t n = std::min(count, m_inputEnd - m_inputStart);
        std::memcpy(m_record.data() + at, m_input.data() + m_inputStart, n);
        m_inputStart += n;
        at += n;
        count -= n;
    }
    return Read::Done;
}

void DumpDecoder::Ask(ListenerInput& input, int code) {
    // What the port held goes with the purge before the request.
    m_inputStart = m_inputEnd = 0;
    m_scanTail.clear();
    input.Request(code);
}

// --- records

void DumpDecoder::OnRecord(ListenerInput& input) {
    // Written now and only now: a record that comes again after this one finds nothing held.
    AppendHeld();

    size_t have = 1;
    Read read = Read::Done;
    for (size_t need = 4; have < need;
         need = static_cast<size_t>(
             records::DumpSizeBytes(std::span<const unsigned char>(m_record.data(), have)))) {
        read = ReadRecordBytes(input, have, need - have);
        if (read != Read::Done)
            break;
        have = need;
    }
    if (read == Read::Done) {
        const std::span<const unsigned char> head(m_record.data(), have);
        const std::string level = records::DumpLevelText(m_record[1], m_record[2]);
        // A record of no type ends before its flags byte: the last flags stay.
        const unsigned char flags = have > kFlagsByte ? m_record[kFlagsByte] : m_lastFlags;
        const auto size = records::DumpRecordSizeOf(head, m_reportOrEventSetup);
        // The buffer's size is checked before a byte of the body is copied.
        const bool fits = size && size->sent <= records::kDumpRecordBufferBytes &&
                          static_cast<size_t>(size->sent) >= have;
        if (fits)
            read = ReadRecordBytes(input, have, static_cast<size_t>(size->sent) - have);
        if (read == Read::Done && fits &&
            records::DumpChecksumHolds(
                std::span<const unsigned char>(m_record.data(), static_cast<size_t>(size->sent)),
                size->sent)) {
            // A file the meter left without its end closes before the next one starts.
            if (IsStart(records::DumpRecordTypeOf(m_record[kTypeByte])))
                CloseOpenFile();
            m_lastLevel = level;
            m_lastFlags = flags;
            OnValidRecord(input, *size);
            return;
        }
        m_lastLevel = level;
        m_lastFlags = flags;
    }
    switch (read) {
        case Read::Stopped:
            return;
        case Read::Cancelled:
            if (m_cancel)
                EndCancelled();
            return;
        case Read::Done:
        case Read::Failed:
            OnBadRecord(input);
            return;
    }
}

void DumpDecoder::OnValidRecord(ListenerInput& input, records::DumpRecordSize size) {
    m_failures = 0;
    const int type = records::DumpRecordTypeOf(m_record[kTypeByte]);
    const std::span<unsigned char> record(m_record.data(), static_cast<size_t>(size.sent));
    if (IsStart(type)) {
        m_reportOrEventSetup = false;
        m_fileEnded = false;
        ++m_fileCount;
        m_recordCount = 1;
    } else {
        ++m_recordCount;
    }
    if (type == records::kDumpSetupReport || type == records::kDumpSetupEvent)
        m_reportOrEventSetup = true;
    if (type == records::kDumpEnd) {
        StampEndRecordModel(record, m_model, m_extendedRange);
        m_fileEnded = true;
        --m_filesLeft;
    }
    std::string kept = records::KeptDumpRecord(record, size);
    m_host.DumpProgress(m_fileCount, m_recordCount);

    if (m_cancel) {
        Append(std::move(kept));
        EndCancelled();
    } else if (m_filesLeft > 0) {
        m_held = std::move(kept);
        Ask(input, command_code::kDumpNext);
    } else {
        Append(std::move(kept));
        Finish({});
    }
}

void DumpDecoder::OnBadRecord(ListenerInput& input) {
    if (m_cancel) {
        EndCancelled();
    } else if (++m_failures < kMaxFailures) {
        Repeat(input);
    } else {
        AppendHeld();
        CloseOpenFile();
        Finish({});
    }
}

void DumpDecoder::OnFailure(ListenerInput& input) {
    if (m_cancel) {
        EndCancelled();
    } else if (++m_failures < kMaxFailures) {
        if (m_fileEnded)
            AppendHeld();
        Repeat(input);
    } else {
        AppendHeld();
        CloseOpenFile();
        Finish("Download error");
    }
}

bool DumpDecoder::Repeat(ListenerInput& input) {
    for (unsigned paused = 0; paused < kRepeatPauseMs; paused += kWaitSliceMs) {
        // A cancel or an interruption is handled by the next call, or by Interrupt itself.
        if (ShouldYield() || !input.Pause(std::min(kWaitSliceMs, kRepeatPauseMs - paused)))
            return false;
    }
    Ask(input, command_code::kDumpRepeat);
    return true;
}

void DumpDecoder::EndCancelled() {
    AppendHeld();
    CloseOpenFile();
    Finish({});
}

// --- what goes to the application

void DumpDecoder::Append(std::string bytes) {
    m_host.AppendDumpBytes(std::move(bytes));
}

void DumpDecoder::AppendHeld() {
    if (m_held) {
        Append(std::move(*m_held));
        m_held.reset();
    }
}

void DumpDecoder::CloseOpenFile() {
    if (m_fileEnded)
        return;
    const auto end = records::IncompleteDumpRecord(m_lastLevel, m_lastFlags);
    Append(std::string(end.begin(), end.end()));
    m_fileEnded = true;
}

void DumpDecoder::EndDumpMode() {
    // The meter may still answer the last request: those bytes wait, unread, for the purge
    // before the next command instead of arriving as a reply to nothing.
    m_link.receiveEnabled = FALSE;
    m_link.dumpMode = FALSE;
}

void DumpDecoder::Finish(std::string message) {
    EndDumpMode();
    m_host.DumpFinished(std::move(message));
}

}  // namespace acquisition
