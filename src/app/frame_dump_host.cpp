#include "app/frame_dump_host.h"

#include <utility>

#include "acquisition/dump_decoder.h"
#include "app/frame_notices.h"
#include "app/kx9monitor_app.h"
#include "link/command_codes.h"
#include "link/link_session.h"
#include "platform/operator.h"
#include "platform/text.h"

void FrameDumpHost::AppendDumpBytes(std::string bytes) {
    platform::PostTextMessage(this, kAppend, 0, 0, std::move(bytes));
}

void FrameDumpHost::DumpProgress(int file, int record) {
    platform::PostMessage(this, kProgress, static_cast<std::uintptr_t>(file), record);
}

void FrameDumpHost::DumpFinished(std::string message) {
    platform::PostTextMessage(this, kFinished, 0, 0, std::move(message));
}

void FrameDumpHost::OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message != kProgress)
        return;
    m_progress.file = static_cast<int>(wParam);
    m_progress.line = static_cast<int>(lParam);
}

void FrameDumpHost::OnTextMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                  const std::string& text) {
    switch (message) {
        case kAppend:
            WriteDumpBytes(text);
            break;
        case kFinished:
            if (!text.empty())
                m_notices.Warn(text, MB_ICONSTOP);
            m_link.SendCommand(command_code::kDumpOff, "", "");
            break;
        default:
            OnMessage(message, wParam, lParam);
            break;
    }
}

void FrameDumpHost::WriteDumpBytes(const std::string& bytes) {
    MeterMode& mode = m_link.Mode();
    if (mode.HasDumpWriteFailed())
        return;
    acquisition::DumpFile& file = TheApp().m_DumpFile;
    if (file.Write(bytes))
        return;
    // A full disk is told once: the download stops and is not announced as complete.
    mode.OnDumpWriteFailed();
    m_decoder.RequestCancel();
    m_notices.Warn(platform::Format("error writing dump file (code %d)", file.Error()),
                   MB_ICONSTOP);
}
