#include "setup/setup_page.h"

#include "link/instr_status.h"
#include "setup/setup_host.h"

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

}  // namespace setup
