#pragma once
// The monitoring options, shown when the meter has told whether it monitors: the channel
// mode of the live session, and how many records make a page of its recording. It opens on
// the page size in force (the first choice when that is none of them).

#include <string>

#include "acquisition/paging_size_dlg.h"
#include "platform/operator.h"

namespace acquisition {

class CSelCHMonitorDlg : public platform::ModalDialog {
public:
    static constexpr int IDC_CHANNEL_MODE = 1690;

    CSelCHMonitorDlg(int channelMode, int pageSize);

    std::string DialogName() const override { return "CSelCHMonitorDlg"; }
    int RunOnScreen() override;

    // "SLM", "PROFILE", "OCTAVE", "THIRD OCTAVE"; "NONE" without a channel mode.
    std::string ChannelModeText() const;
    // The records per page of the choice.
    int PageSize() const;
    // "%d Samples" of each page size.
    static std::string ChoiceText(int choice);

    int m_nChannelMode = -1;
    // Index into CPageningSizeDlg::kPageSizes.
    int m_nChoice = 0;
};

}  // namespace acquisition
