#pragma once
// "Setup Instrument": the property sheet over the pages that the meter's model variant allows
// (sheet_pages.h), "Current" shown first, with "Apply All" and "Cancel" and no "Apply". It runs
// through the operator like every dialog; the page handling below is the same for a script
// and on screen: a page is initialised and activated when it is first shown, activated again
// each time, and left before another page or "Apply All" takes over.

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "platform/operator.h"
#include "setup/setup_page.h"

class QDialog;
class QWidget;

namespace setup {

class CSetupPropPage;
class SetupHost;

class CSetupPropSheet : public platform::ModalDialog {
public:
    static constexpr const char* kCaption = "Setup Instrument";

    // The pages of the current model.
    explicit CSetupPropSheet(SetupHost& host);
    // Given pages, in tab order (tests).
    explicit CSetupPropSheet(std::vector<std::unique_ptr<SetupPage>> pages);
    ~CSetupPropSheet() override;

    std::string DialogName() const override { return "CSetupPropSheet"; }
    int RunOnScreen() override;

    // Shows "Current", runs the sheet and answers IDOK once "Apply All" has left the active
    // page. A script that answers IDOK presses "Apply All" by it; when the active page then
    // keeps the operator, the sheet counts as cancelled.
    int Run();

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    SetupPage& Page(int index) const { return *m_pages[static_cast<size_t>(index)]; }
    std::vector<SetupPageKind> Kinds() const;
    template <typename T>
    T* FindPage() const {
        for (const auto& page : m_pages)
            if (auto* found = dynamic_cast<T*>(page.get()))
                return found;
        return nullptr;
    }
    // -1 before the sheet shows a page.
    int ActivePage() const { return m_active; }

    // Shows page `index`, leaving the active one first; false when that one keeps the
    // operator.
    bool SetActivePage(int index);
    // "Apply All": leaves the active page; true when the sheet may close.
    bool ApplyAll();

    // The sheet's window as RunOnScreen shows it, built on first call and kept by the sheet
    // until the run ends (or the sheet goes).
    QDialog* CreateWindow(QWidget* parent = nullptr);
    QDialog* Window() const;

private:
    class SheetWindow;
    void Activate(int index);
    // Stores the active page's choices; false when it keeps the operator.
    bool LeaveActive();
    CSetupPropPage* Widget(int index) const;

    std::vector<std::unique_ptr<SetupPage>> m_pages;
    std::vector<bool> m_initialised;
    int m_active = -1;
    bool m_applied = false;
    std::unique_ptr<SheetWindow> m_window;
};

// The image the tabs show, by image number (13 by 13 pixels, white as transparent).
QImage SetupTabImage(int image);

}  // namespace setup
