#pragma once
// A page of the "Setup Instrument" sheet as a plain model: its controls (page_controls.h) and
// its rules. The sheet initialises a page when it is first shown, activates it each time it
// is shown and leaves it when another page or "Apply All" takes over; a page the operator never
// opens is never initialised nor written back. Pages read the current setup to choose by model
// and show the meter's state, and read and write the edited setup.

#include <string>

#include "link/instr_status.h"
#include "setup/page_controls.h"
#include "setup/sheet_pages.h"
#include "setup/table_controls.h"

namespace setup {

class SetupHost;

class SetupPage {
public:
    SetupPage(SetupHost& host, SetupPageKind kind);
    virtual ~SetupPage();
    SetupPage(const SetupPage&) = delete;
    SetupPage& operator=(const SetupPage&) = delete;

    SetupPageKind Kind() const { return m_kind; }
    const SetupPageInfo& Info() const { return PageInfo(m_kind); }

    // Once, before the page is first activated: fills the fixed lists.
    virtual void OnInitDialog() {}
    // Shows the setup values.
    virtual void OnSetActive() {}
    // Stores the operator's choices; false keeps the operator on the page.
    virtual bool OnKillActive() { return true; }

    PageControls& Controls() { return m_controls; }
    const PageControls& Controls() const { return m_controls; }

protected:
    SetupHost& Host() const { return m_host; }
    const CInstrStatus& Current() const;
    CInstrStatus& Edited() const;
    // The decorated model text of the current setup, which every model rule tests.
    const std::string& Model() const;

    // The value controls bound to this page that it shows by the table's rule
    // (setup/table_controls.h): their fixed lists, for OnInitDialog; the edited values, for
    // OnSetActive; the operator's choices, for OnKillActive.
    void FillTableLists();
    void ShowTableValues();
    // Of the values numbered `first` to before `end`.
    void StoreTableValues(int first = 0, int end = CInstrStatus::kValueCount);

    // The edited text of the value that control `id` of this page shows (either control of a
    // pair). Every value control a page names comes from its binding (ControlOf), so there is
    // one; an id of none gives an empty scratch text.
    std::string& EditedText(int id) const;

private:
    TableControls Table() const;

    SetupHost& m_host;
    SetupPageKind m_kind;
    PageControls m_controls;
    mutable std::string m_noValue;
};

}  // namespace setup
