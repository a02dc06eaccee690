#include "report/report_list.h"

#include "ui/report_ctrl.h"

namespace report {

namespace {
constexpr const char* kTitle = "RAPPORTO DI VERIFICA PERIODICA";
constexpr const char* kVerdictRow = "ESITO";
constexpr int kLabelWidth = 250;
constexpr int kValueWidth = 450;

ReportRow TestRow(const LayoutEntry& entry, const std::string& result) {
    ReportRow row{entry.label, result};
    if (result == kPassed)
        row.valueBk = kPassedBk;
    else if (result == kFailed)
        row.valueBk = kFailedBk;
    return row;
}

ReportRow VerdictRow(const ReportVerdict& verdict) {
    ReportRow row{kVerdictRow, "", kTitleBk};
    if (!verdict.complete) {
        row.value = "VERIFICA INCOMPLETA";
        row.valueText = kNoteText;
    } else {
        row.value = verdict.positive ? "POSITIVO" : "NEGATIVO";
        row.valueBk = verdict.positive ? kPassedBk : kFailedBk;
    }
    if (verdict.calibratorOnly)
        row.value += " (solo calibratore associato)";
    return row;
}
}  // namespace

std::vector<ReportRow> ReportRows(const std::vector<FileSection>& sections) {
    std::vector<ReportRow> rows = {{kTitle, "", kTitleBk}};
    const FileSection* header = FindSection(sections, kHeaderSection);
    for (const LayoutEntry& entry : HeaderEntries())
        rows.push_back({entry.label, header ? header->Value(entry.key).value_or("") : ""});
    rows.push_back({kTestsRow, "", kTitleBk});
    for (const LayoutEntry& entry : VerificationFileLayout())
        if (entry.role == Role::TestResult)
            if (const FileSection* test = FindSection(sections, entry.section))
                rows.push_back(TestRow(entry, test->Value(entry.key).value_or("")));
    rows.push_back(VerdictRow(ReadVerdict(sections)));
    return rows;
}

void FillReportList(ui::CReportCtrl& list, const std::vector<ReportRow>& rows) {
    list.DeleteAllItems();
    while (list.GetColumnCount() > 0)
        list.DeleteColumn(0);
    list.InsertColumn(0, "Voce", ui::LVCFMT_LEFT, kLabelWidth);
    list.InsertColumn(1, "Valore", ui::LVCFMT_LEFT, kValueWidth);
    for (const ReportRow& row : rows) {
        const int at = list.InsertItem(list.GetItemCount(), row.label);
        list.SetItemText(at, 1, row.value);
        list.SetItemBkColor(at, 0, row.labelBk, FALSE);
        list.SetItemBkColor(at, 1, row.valueBk, FALSE);
        list.SetItemTextColor(at, 1, row.valueText, FALSE);
    }
}

}  // namespace report
