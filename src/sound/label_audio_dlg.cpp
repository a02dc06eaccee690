#include "sound/label_audio_dlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/text.h"
#include "platform/win_types.h"
#include "ui/posted_click.h"

namespace sound {

namespace {

constexpr size_t kRecordField = 0;
constexpr size_t kTextField = 4;
constexpr size_t kAudioField = 5;

std::string RowText(const CLabelAudioDlg::Row& row) {
    return row.audio.empty() ? row.text : row.text + " - " + row.audio;
}

}  // namespace

CLabelAudioDlg::CLabelAudioDlg(std::vector<std::string>& labels, LabelAudioHost& host)
    : m_labels(labels), m_host(host) {}

CLabelAudioDlg::~CLabelAudioDlg() {
    DestroyWindow();
}

void CLabelAudioDlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle("Audio Labels");
    dialog.setObjectName(ui::IdName(IDD));
    auto* layout = new QVBoxLayout(&dialog);
    m_list = new QListWidget(&dialog);
    m_list->setObjectName(ui::IdName(IDC_LIST));
    layout->addWidget(m_list);
    m_remove = new QPushButton("Remove", &dialog);
    m_remove->setObjectName(ui::IdName(IDC_REMOVE));
    QObject::connect(m_remove, &QPushButton::clicked, &dialog,
                     [this] { RemoveRow(m_list->currentRow()); });
    layout->addWidget(m_remove);
    auto* close = new QPushButton("OK", &dialog);
    close->setObjectName(ui::IdName(IDOK));
    ui::OnClickedLater(close, &dialog, [&dialog] { dialog.accept(); });
    layout->addWidget(close);
    Sync();
}

void CLabelAudioDlg::OnDestroy() {
    m_list = nullptr;
    m_remove = nullptr;
}

void CLabelAudioDlg::UpdateLabelList() {
    m_rows.clear();
    const std::string record = std::to_string(m_host.CurrentRecord());
    for (size_t i = 0; i < m_labels.size(); ++i) {
        const std::vector<std::string> fields = platform::Split(m_labels[i], '#');
        if (fields.size() <= kTextField || fields[kRecordField] != record)
            continue;
        m_rows.push_back({static_cast<int>(i), fields[kTextField],
                          fields.size() > kAudioField ? fields[kAudioField] : std::string()});
    }
    Sync();
}

bool CLabelAudioDlg::RemoveRow(int row) {
    if (!CanRemove() || row < 0 || row >= static_cast<int>(m_rows.size()))
        return false;
    const int label = m_rows[static_cast<size_t>(row)].label;
    if (label < 0 || label >= static_cast<int>(m_labels.size()))
        return false;
    m_labels.erase(m_labels.begin() + label);
    m_host.LabelsRemoved();
    UpdateLabelList();
    return true;
}

void CLabelAudioDlg::Sync() {
    if (!HasWindow())
        return;
    m_list->clear();
    for (const Row& row : m_rows)
        m_list->addItem(ui::ToQt(RowText(row)));
    m_remove->setEnabled(CanRemove());
}

}  // namespace sound
