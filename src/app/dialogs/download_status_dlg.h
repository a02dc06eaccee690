#pragma once
// The memory-download window: record number, record blocks, a moving bar and the
// "Cancel Download" button, which asks first and then raises the frame's download-cancel flag.
// Its close box does nothing: the download is stopped with the button or ends by itself.

#include <functional>

#include "app/dialogs/modeless_dialog.h"

class CDownloadStatusDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 139;
    static constexpr int IDC_CANCEL_DOWNLOAD = 1020;
    static constexpr int IDC_RECORD_NUMBER = 1019;
    static constexpr int IDC_RECORD_BLOCKS = 1018;
    static constexpr int IDC_PROGRESS = 1017;

    CDownloadStatusDlg();

    // Run when the operator confirms: the frame sets its download-cancel flag.
    void SetCancelDownloadHandler(std::function<void()> setCancelFlag) {
        m_onCancelDownload = std::move(setCancelFlag);
    }
    void OnCancelDownload();

protected:
    void BuildControls(QDialog& dialog) override;
    bool OnClose() override { return false; }
    // Esc and Enter do not end the window either.
    void OnCancel() override {}
    void OnOK() override {}

private:
    std::function<void()> m_onCancelDownload;
};
