#pragma once
// Verification files as the data sheet and the bench would write them, for the tests.

#include <string>
#include <utility>
#include <vector>

#include "platform/date_time.h"
#include "report/report_seal.h"
#include "report/verification_file.h"

namespace reporttest {

struct FileShape {
    platform::DateTime started = platform::DateTime::FromParts(2026, 3, 2, 9, 30, 0);
    std::vector<std::pair<std::string, std::string>> header = {
        {"REPORT_NUM", "2026-017"}, {"LAB_NAME", "Lab Nord"},      {"TECH_NAME", "Mario Rossi"},
        {"CUST_NAME", "Rossi Srl"}, {"CUST_FON_PROD", "Corvanex"}, {"CUST_FON_MODEL", "QS4060KRTN"},
        {"CUST_FON_SN", "T200"},    {"CUST_CAL_PROD", "Corvanex"}, {"CUST_CAL_SN", "C9"}};
    // (test index in the layout's order, result)
    std::vector<std::pair<int, std::string>> tests = {{0, report::kPassed}, {1, report::kPassed}};
    bool withVerdict = true;
    report::ReportVerdict verdict = {true, true, false};
};

inline std::string VerificationText(const FileShape& shape) {
    std::vector<report::LayoutEntry> tests;
    for (const report::LayoutEntry& entry : report::VerificationFileLayout())
        if (entry.role == report::Role::TestResult)
            tests.push_back(entry);
    std::string text = report::SectionHeaderLine(shape.started, report::kHeaderSection) + "\r\n";
    for (const auto& [key, value] : shape.header)
        text += key + "=" + value + "\r\n";
    platform::DateTime when = shape.started;
    for (const auto& [index, result] : shape.tests) {
        when = when.AddSeconds(600);
        text += report::SectionHeaderLine(when, tests.at(static_cast<size_t>(index)).section) +
                "\r\nRESULT=" + result + "\r\n";
    }
    if (shape.withVerdict)
        text += report::SectionHeaderLine(when.AddSeconds(60), report::kVerdictSection) +
                "\r\nCOMPLETE=" + (shape.verdict.complete ? "1" : "0") +
                "\r\nPOSITIVE=" + (shape.verdict.positive ? "1" : "0") +
                "\r\nCALIBRATOR_ONLY=" + (shape.verdict.calibratorOnly ? "1" : "0") + "\r\n";
    return text;
}

inline std::string SealedFile(const FileShape& shape = {}) {
    return report::Sealed(VerificationText(shape));
}

}  // namespace reporttest
