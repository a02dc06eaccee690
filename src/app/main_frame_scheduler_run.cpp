// The frame's part at the end of a scheduler run: the run's records shown in the main view.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "platform/files.h"

namespace {
constexpr const char* kSchedulerIndexFile = "\\Scheduler.kr9";
}  // namespace

void CMainFrame::ShowSchedulerResult() {
    CKX9MonitorApp& app = TheApp();
    const std::string index = app.ProgramPath(std::string("\\") + acquisition::kRecordIndexName);
    if (const auto text = platform::ReadWholeFile(index))
        platform::WriteFileAtomic(app.ProgramPath(kSchedulerIndexFile), *text);
    ResetViewForScheduler();
    m_SchedulerDlg.OpenSchedulerFile();
}
