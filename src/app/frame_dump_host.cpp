#include "app/frame_dump_host.h"

#include <utility>

#include "app/main_frame.h"

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
    if (message == kProgress)
        m_frame.OnDumpProgress(static_cast<int>(wParam), static_cast<int>(lParam));
}

void FrameDumpHost::OnTextMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                  const std::string& text) {
    switch (message) {
        case kAppend:
            m_frame.WriteDumpBytes(text);
            break;
        case kFinished:
            m_frame.OnDumpFinished(text);
            break;
        default:
            OnMessage(message, wParam, lParam);
            break;
    }
}
