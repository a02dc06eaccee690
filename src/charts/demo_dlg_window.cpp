// The "Spectrum" window's widgets: the 3-D graph, the colour legend beside it and the three
// range groups with "Apply" under it.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QVBoxLayout>

#include "charts/demo_dlg.h"
#include "charts/graph_3d_window.h"
#include "platform/colors.h"
#include "ui/hooked_dialog.h"

using ui::IdName;

namespace charts {

namespace {

constexpr int kSwatchSize = 14;
// The swatches carry the ids after the legend's texts.
constexpr int kSwatchIdBase = 1720;

}  // namespace

// Closing only hides: the frame keeps the window and its rows.
void CDemoDlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle("Spectrum");
    auto* layout = new QVBoxLayout(&dialog);
    auto* top = new QHBoxLayout;
    layout->addLayout(top, 1);

    m_graphWindow = new Graph3DWindow(m_graph, &dialog);
    m_graphWindow->setObjectName(IdName(IDC_GRAPH));
    m_graphWindow->setMinimumSize(480, 320);
    m_graph.SetChangedHandler([window = m_graphWindow] { window->Refresh(); });
    top->addWidget(m_graphWindow, 1);

    auto* legend = new QGroupBox("Level ( dB)", &dialog);
    auto* legendGrid = new QGridLayout(legend);
    for (int row = 0; row < kLegendEntries; ++row) {
        // The top row holds the highest interval.
        const COLORREF colour = kLevelColours[kLegendEntries - 1 - row];
        auto* swatch = new QLabel(legend);
        swatch->setObjectName(IdName(kSwatchIdBase + row));
        swatch->setFixedSize(kSwatchSize, kSwatchSize);
        swatch->setAutoFillBackground(true);
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, platform::ToQColor(colour));
        swatch->setPalette(palette);
        legendGrid->addWidget(swatch, row, 0);
        auto* text = new QLabel(legend);
        text->setObjectName(IdName(IDC_LEGEND_TOP + row));
        legendGrid->addWidget(text, row, 1);
    }
    top->addWidget(legend);

    auto* ranges = new QHBoxLayout;
    layout->addLayout(ranges);
    auto combo = [&](QGridLayout* grid, int row, const char* caption, int id) {
        grid->addWidget(new QLabel(caption, &dialog), row, 0);
        auto* box = new QComboBox(&dialog);
        box->setObjectName(IdName(id));
        QObject::connect(box, &QComboBox::activated, &dialog,
                         [this, id](int index) { OnRangeSelChange(id, index); });
        grid->addWidget(box, row, 1);
    };
    auto edit = [&](QGridLayout* grid, int row, const char* caption, int id, std::string* text) {
        grid->addWidget(new QLabel(caption, &dialog), row, 0);
        auto* line = new QLineEdit(&dialog);
        line->setObjectName(IdName(id));
        QObject::connect(line, &QLineEdit::textEdited, &dialog,
                         [text](const QString& typed) { *text = ui::FromQt(typed); });
        grid->addWidget(line, row, 1);
    };
    auto group = [&](const char* title) {
        auto* box = new QGroupBox(title, &dialog);
        ranges->addWidget(box);
        return new QGridLayout(box);
    };
    QGridLayout* freq = group("Freq. Range");
    combo(freq, 0, "Max", IDC_FREQ_MAX);
    combo(freq, 1, "Min", IDC_FREQ_MIN);
    QGridLayout* ampl = group("Ampl. Range");
    combo(ampl, 0, "Max", IDC_AMPL_MAX);
    combo(ampl, 1, "Min", IDC_AMPL_MIN);
    QGridLayout* time = group("Time Range");
    edit(time, 0, "Max", IDC_TIME_MAX, &m_strTimeMax);
    edit(time, 1, "Min", IDC_TIME_MIN, &m_strTimeMin);
    auto* apply = new QPushButton("Apply", &dialog);
    apply->setObjectName(IdName(IDC_APPLY));
    QObject::connect(apply, &QPushButton::clicked, &dialog, [this] { OnApply(); });
    ranges->addWidget(apply);
    OnInitDialog();
}

void CDemoDlg::Sync() {
    QDialog* window = Window();
    if (!window)
        return;
    for (int id : {IDC_FREQ_MAX, IDC_FREQ_MIN, IDC_AMPL_MAX, IDC_AMPL_MIN}) {
        auto* box = window->findChild<QComboBox*>(IdName(id));
        if (!box)
            continue;
        const QSignalBlocker quiet(box);
        const RangeBox& state = Box(id);
        QStringList entries;
        for (const std::string& entry : state.entries)
            entries << ui::ToQt(entry);
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        if (shown != entries) {
            box->clear();
            box->addItems(entries);
        }
        box->setCurrentIndex(state.selection);
        box->setEnabled(m_bControlsEnabled);
    }
    const std::pair<int, const std::string*> edits[] = {{IDC_TIME_MAX, &m_strTimeMax},
                                                        {IDC_TIME_MIN, &m_strTimeMin}};
    for (const auto& [id, text] : edits)
        if (auto* line = window->findChild<QLineEdit*>(IdName(id))) {
            if (ui::FromQt(line->text()) != *text)
                line->setText(ui::ToQt(*text));
            line->setEnabled(m_bControlsEnabled);
        }
    if (auto* apply = window->findChild<QPushButton*>(IdName(IDC_APPLY)))
        apply->setEnabled(m_bControlsEnabled);
    for (int id = IDC_LEGEND_TOP; id <= IDC_LEGEND_BOTTOM; ++id)
        if (auto* text = window->findChild<QLabel*>(IdName(id)))
            text->setText(ui::ToQt(LegendText(id)));
}

}  // namespace charts
