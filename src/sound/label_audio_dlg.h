#pragma once
// The audio-label window (dialog 1021): the labels that the graph shows on the current record,
// the audio labels among them marked, and, in its clearing mode, the removal of labels. It is
// shown while the label table holds audio labels. The object keeps the rows and flags; its
// window, while there is one, shows them.

#include <memory>
#include <string>
#include <vector>

#include "sound/label_audio_host.h"
#include "ui/modeless_window.h"

class QListWidget;
class QPushButton;

namespace sound {

class CLabelAudioDlg : public ui::ModelessWindow {
public:
    static constexpr int IDD = 1021;
    static constexpr int IDC_LIST = 1022;
    static constexpr int IDC_REMOVE = 1023;

    struct Row {
        int label = -1;  // its index in the label table
        std::string text;
        std::string audio;  // the second text: empty for a graph label
    };

    // `labels` is the application's label table, one "%d#%s#%s#%s#%s#%s" record per label.
    CLabelAudioDlg(std::vector<std::string>& labels, LabelAudioHost& host);
    ~CLabelAudioDlg() override;

    // The rows again from the label table and the current record, and the buttons with them.
    void UpdateLabelList();
    const std::vector<Row>& Rows() const { return m_rows; }

    // Removes the label of a row from the table (clearing mode only); false otherwise.
    bool RemoveRow(int row);
    bool CanRemove() const { return m_bClearingMode && !m_rows.empty(); }

    // Set when the labels hold audio labels: whether the window is shown.
    bool m_bHasAudioLabels = false;
    // Set by the graph's "Clear Labels": the window removes labels.
    int m_bClearingMode = 0;

private:
    void BuildWindow(QDialog& dialog) override;
    void OnDestroy() override;
    void Sync();

    std::vector<std::string>& m_labels;
    LabelAudioHost& m_host;
    std::vector<Row> m_rows;
    QListWidget* m_list = nullptr;
    QPushButton* m_remove = nullptr;
};

}  // namespace sound
