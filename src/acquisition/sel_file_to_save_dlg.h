#pragma once
// "Save on File" (dialog 322): the pages of the current recording in a list, a target file name
// and Browse...; OK copies the chosen pages into the target (selected_pages_save.h). The dialog
// keeps its list, selection and target in the object, so a script can fill them and press OK.

#include <string>
#include <vector>

#include "acquisition/selected_pages_save.h"
#include "platform/operator.h"

namespace acquisition {

class CSelFileToSaveDlg : public platform::ModalDialog {
public:
    static constexpr int IDD = 322;
    static constexpr int IDC_BROWSE = 1492;
    static constexpr int IDC_TARGET = 1493;
    static constexpr int IDC_PAGES = 1494;
    // The dialog closed because the current recording could not be read: nothing was saved,
    // and there was nothing to save.
    static constexpr int kNothingToSave = IDABORT;

    // What the dialog works on.
    struct Source {
        std::string currentFile;            // the recording: a page file or an index
        std::string programFolder;          // where the target is proposed
        std::string liveIndex;              // the index live monitoring appends to
        std::vector<std::string> pageRows;  // the view's page list, two rows a page
        bool monitoring = false;            // live monitoring runs
    };

    explicit CSelFileToSaveDlg(Source source) : m_source(std::move(source)) {}

    std::string DialogName() const override { return "CSelFileToSaveDlg"; }
    int RunOnScreen() override;
    // OnInitDialog, then the dialog through the operator: IDOK once the pages were saved,
    // IDCANCEL, or kNothingToSave.
    int DoModal();

    // The proposed target and the offered pages.
    void OnInitDialog();
    // A click on an item selects it (with `add`, beside the others) and enables OK.
    void OnClickList(int item, bool add = false);
    // The save-file chooser: a ".kr9" name becomes the target; a name without extension gets
    // ".kr9"; any other extension is refused.
    void OnBrowse();
    // The save. True when the dialog ends (m_nResult says how); false keeps it open.
    bool OnOK();

    const std::vector<PageListItem>& Items() const { return m_items; }
    bool IsOkEnabled() const { return m_bOkEnabled; }

    std::string m_strTarget;
    // Item indexes selected, in list order.
    std::vector<int> m_selected;
    int m_nResult = IDCANCEL;

private:
    bool IsLiveIndex(const std::string& path) const;
    bool End(int result);

    Source m_source;
    std::vector<PageListItem> m_items;
    bool m_bOkEnabled = false;
};

}  // namespace acquisition
