#pragma once
// The monitoring options, shown when the meter has told whether it monitors: the channel
// mode of the live session, and how many records make a page of its recording. It opens on
// the page size in force (the first choice when that is none of them).

#include <optional>
#include <string>

#include "acquisition/paging_size_dlg.h"
#include "platform/operator.h"
#include "records/record_kind.h"

namespace acquisition {

class CSelCHMonitorDlg : public platform::ModalDialog {
public:
    static constexpr int IDC_CHANNEL_MODE = 1690;

    CSelCHMonitorDlg(std::optional<records::RecordKind> channelMode, int pageSize);

    std::string DialogName() const override { return "CSelCHMonitorDlg"; }
    int RunOnScreen() override;

    // The kind's name ("SLM", "PROFILE", ...); "NONE" without a channel mode.
    std::string ChannelModeText() const;
    // The records per page of the choice.
    int PageSize() const;
    // "%d Samples" of each page size.
    static std::string ChoiceText(int choice);

    std::optional<records::RecordKind> m_channelMode;
    // Index into CPageningSizeDlg::kPageSizes.
    int m_nChoice = 0;
};

}  // namespace acquisition
