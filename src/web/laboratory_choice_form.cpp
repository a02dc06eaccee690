#include "web/laboratory_choice_form.h"

#include "platform/text.h"

std::vector<std::string> CSetLimitDlg::Entries() const {
    std::vector<std::string> entries = platform::Split(m_strList, ';');
    entries.pop_back();  // the text after the last ";" is no entry
    return entries;
}
