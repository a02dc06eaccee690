#pragma once
// The queries that the session operations queue, by the model text of the current setup: the
// read of the whole setup, which ends at the display-contrast query whose reply opens the setup
// sheet, and the start of a monitoring session, which ends at the monitoring and acquisition
// state queries. Each value's places in them, and the models that have it, are rows of the
// setup value table (setup_value_rows.h).

#include <string_view>
#include <vector>

std::vector<int> SetupQueryCodes(std::string_view model);
std::vector<int> NewSessionQueryCodes(std::string_view model);
