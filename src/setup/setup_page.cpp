#include "setup/setup_page.h"

#include "link/instr_status.h"
#include "setup/setup_host.h"
#include "setup/table_controls.h"
#include "setup/value_controls.h"

namespace setup {

SetupPage::SetupPage(SetupHost& host, SetupPageKind kind) : m_host(host), m_kind(kind) {}

SetupPage::~SetupPage() = default;

const CInstrStatus& SetupPage::Current() const {
    return m_host.Current();
}

CInstrStatus& SetupPage::Edited() const {
    return m_host.Edited();
}

const std::string& SetupPage::Model() const {
    return m_host.Current().m_strModel;
}

std::string& SetupPage::EditedText(int id) const {
    const SetupValueRow* row = ValueOfControl(m_kind, id);
    if (!row || !row->text) {
        m_noValue.clear();
        return m_noValue;
    }
    return Edited().*row->text;
}

TableControls SetupPage::Table() const {
    return {SetupValueRows(), ValueControls(), m_kind};
}

void SetupPage::FillTableLists() {
    setup::FillTableLists(Table(), m_controls);
}

void SetupPage::ShowTableValues() {
    setup::ShowTableValues(Table(), Model(), Edited(), m_controls);
}

void SetupPage::StoreTableValues(int first, int end) {
    setup::StoreTableValues(Table(), m_controls, Edited(), first, end);
}

}  // namespace setup
