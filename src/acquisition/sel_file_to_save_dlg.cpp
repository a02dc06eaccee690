#include "acquisition/sel_file_to_save_dlg.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "platform/files.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "ui/hooked_dialog.h"
#include "ui/latin1_fields.h"

namespace acquisition {

namespace {

constexpr const char* kProposedTarget = "QS4160_1.kr9";
constexpr const char* kFilter = "KX9Monitor files (*.kr9)";
constexpr const char* kExtension = "kr9";
constexpr int kPageColumnWidth = 80;
constexpr int kDateColumnWidth = 150;

std::string Canonical(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path canonical =
        std::filesystem::weakly_canonical(platform::ToNativePath(path), ec);
    return ec ? platform::ToNativePath(path) : canonical.string();
}

// The extension of a path's file name, without its dot; empty when it has none.
std::string ExtensionOf(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

// The target field's text back as the system's path. A folder named in no UTF-8 shows with
// U+FFFD and would not come back as it was: the folders the operator left as shown keep their
// bytes, so that typing a name in one still saves there.
std::string EditedTarget(const std::string& shown, const QString& text) {
    const QString before = platform::SystemNameToQt(shown);
    if (text == before)
        return shown;
    qsizetype kept = 0;  // the same start, up to and with its last "/"
    for (qsizetype i = 0; i < std::min(before.size(), text.size()) && before[i] == text[i]; ++i)
        if (text[i] == '/')
            kept = i + 1;
    // A "/" is a "/" either way: the same count of them ends the same folders in the bytes.
    size_t bytes = 0;
    for (qsizetype slashes = before.left(kept).count('/'); slashes > 0; --slashes)
        bytes = shown.find('/', bytes) + 1;
    return shown.substr(0, bytes) + platform::SystemNameFromQt(text.mid(kept));
}

}  // namespace

int CSelFileToSaveDlg::DoModal() {
    OnInitDialog();
    m_nResult = IDCANCEL;
    const int shown = platform::ModalDialog::DoModal();
    return shown == IDCANCEL ? IDCANCEL : m_nResult;
}

void CSelFileToSaveDlg::OnInitDialog() {
    m_strTarget = platform::JoinPath(m_source.programFolder, kProposedTarget);
    m_items = OfferedPages(m_source.pageRows, m_source.monitoring);
    m_selected.clear();
    m_bOkEnabled = false;
}

void CSelFileToSaveDlg::OnClickList(int item, bool add) {
    if (!add)
        m_selected.clear();
    if (item >= 0 && item < static_cast<int>(m_items.size()) &&
        std::find(m_selected.begin(), m_selected.end(), item) == m_selected.end()) {
        m_selected.push_back(item);
        std::sort(m_selected.begin(), m_selected.end());
    }
    m_bOkEnabled = true;
}

void CSelFileToSaveDlg::OnBrowse() {
    platform::FileChoice choice;
    choice.save = true;
    choice.fileName = m_strTarget;
    choice.filter = kFilter;
    const std::optional<std::string> chosen = platform::ChooseFile(choice);
    if (!chosen)
        return;
    const std::string extension = ExtensionOf(*chosen);
    if (extension.empty()) {
        m_strTarget = *chosen + "." + kExtension;
    } else if (extension == kExtension) {
        m_strTarget = *chosen;
    } else {
        platform::AfxMessageBox("ERROR: Bad File Extention", MB_ICONSTOP);
    }
}

bool CSelFileToSaveDlg::IsLiveIndex(const std::string& path) const {
    return !m_source.liveIndex.empty() && Canonical(path) == Canonical(m_source.liveIndex);
}

bool CSelFileToSaveDlg::End(int result) {
    m_nResult = result;
    return true;
}

bool CSelFileToSaveDlg::OnOK() {
    if (m_selected.empty())
        return false;
    const std::string target = SaveTargetPath(m_strTarget);
    m_strTarget = target;
    // The next monitoring session starts that index anew: a save there would be lost.
    if (IsLiveIndex(target)) {
        platform::AfxMessageBox(
            platform::Format("ERROR: %s is the index of the live recording.\nPlease choose "
                             "another file name.",
                             platform::SystemNameToText(target).c_str()),
            MB_ICONSTOP);
        return false;
    }
    if (!platform::LineReader(m_source.currentFile).IsOpen())
        return End(kNothingToSave);

    std::vector<int> pages;
    const int count = static_cast<int>(m_items.size());
    for (const int item : m_selected)
        if (item >= 0 && item < count)
            if (const std::optional<int> page =
                    ChosenPage(m_items[static_cast<size_t>(item)].name, count))
                pages.push_back(*page);
    if (pages.empty())
        return false;

    if (platform::FileExists(target) &&
        platform::AfxMessageBox("File already exist.\nDo you want overwrite it?",
                                MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return false;
    const PageSaveResult result = SaveSelectedPages(m_source.currentFile, target, pages);
    if (!result.saved) {
        platform::AfxMessageBox(result.failure, MB_ICONSTOP);
        return false;
    }
    if (!result.schedulerLog.empty())
        platform::AfxMessageBox(
            platform::Format("WARNING: Scheduler logging report saved as %s",
                             platform::SystemNameToText(result.schedulerLog).c_str()),
            MB_ICONINFORMATION);
    platform::AfxMessageBox("Selected Reports saved successfully.", MB_ICONINFORMATION);
    return End(IDOK);
}

int CSelFileToSaveDlg::RunOnScreen() {
    QDialog dialog;
    dialog.setWindowTitle("Save on File");
    dialog.setObjectName(ui::IdName(IDD));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("Select report to save", &dialog));
    auto* list = new QTreeWidget(&dialog);
    list->setObjectName(ui::IdName(IDC_PAGES));
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setHeaderLabels({"Page", "Date"});
    list->setColumnWidth(0, kPageColumnWidth);
    list->setColumnWidth(1, kDateColumnWidth);
    for (const PageListItem& item : m_items)
        list->addTopLevelItem(
            new QTreeWidgetItem(QStringList{ui::ToQt(item.name), ui::ToQt(item.date)}));
    layout->addWidget(list);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("File Name", &dialog));
    // The target is a path: the system's bytes, whatever the program's texts are.
    auto* target = new QLineEdit(platform::SystemNameToQt(m_strTarget), &dialog);
    target->setObjectName(ui::IdName(IDC_TARGET));
    ui::MarkSystemNameField(*target);
    row->addWidget(target, 1);
    auto* browse = new QPushButton("Browse...", &dialog);
    browse->setObjectName(ui::IdName(IDC_BROWSE));
    row->addWidget(browse);
    layout->addLayout(row);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(m_bOkEnabled);
    layout->addWidget(buttons);

    QObject::connect(list, &QTreeWidget::itemClicked, &dialog, [&] {
        m_selected.clear();
        for (int item = 0; item < list->topLevelItemCount(); ++item)
            if (list->topLevelItem(item)->isSelected())
                m_selected.push_back(item);
        m_bOkEnabled = true;
        ok->setEnabled(true);
    });
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
        m_strTarget = EditedTarget(m_strTarget, target->text());
        OnBrowse();
        target->setText(platform::SystemNameToQt(m_strTarget));
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        m_strTarget = EditedTarget(m_strTarget, target->text());
        if (OnOK())
            dialog.done(m_nResult == IDCANCEL ? QDialog::Rejected : QDialog::Accepted);
        target->setText(platform::SystemNameToQt(m_strTarget));
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Accepted ? m_nResult : IDCANCEL;
}

}  // namespace acquisition
