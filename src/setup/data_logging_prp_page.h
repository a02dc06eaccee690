#pragma once
// The "DataLogging" page's window: the measure, report and event sections over the page's
// model (data_logging_page.h).

#include "setup/setup_prop_page.h"

namespace setup {

class DataLoggingPage;

class CDataLoggingPrpPage : public CSetupPropPage {
public:
    explicit CDataLoggingPrpPage(DataLoggingPage& model, QWidget* parent = nullptr);
};

}  // namespace setup
