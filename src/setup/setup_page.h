#pragma once
// A page of the "Setup Instrument" sheet as a plain model: its controls (page_controls.h) and
// its rules. The sheet initialises a page when it is first shown, activates it each time it
// is shown and leaves it when another page or "Apply All" takes over; a page the operator never
// opens is never initialised nor written back. Pages read the current setup to choose by model
// and show the meter's state, and read and write the edited setup.

#include <string>

#include "setup/page_controls.h"
#include "setup/sheet_pages.h"

class CInstrStatus;

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

private:
    SetupHost& m_host;
    SetupPageKind m_kind;
    PageControls m_controls;
};

}  // namespace setup
