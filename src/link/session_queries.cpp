#include "link/session_queries.h"

#include "link/command_codes.h"
#include "link/setup_value_table.h"

namespace {

std::vector<int> CodesOf(SetupOrder order, std::string_view model) {
    std::vector<int> codes;
    for (const OrderStep& step : SetupOrderSteps(order, model))
        codes.push_back(step.code);
    return codes;
}

}  // namespace

std::vector<int> SetupQueryCodes(std::string_view model) {
    return CodesOf(SetupOrder::Read, model);
}

std::vector<int> NewSessionQueryCodes(std::string_view model) {
    std::vector<int> codes = CodesOf(SetupOrder::Session, model);
    codes.push_back(command_code::kMonitorQuery);
    codes.push_back(command_code::kAcquisitionQuery);
    return codes;
}
