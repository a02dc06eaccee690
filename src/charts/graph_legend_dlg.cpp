#include "charts/graph_legend_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "link/instr_status.h"
#include "platform/colors.h"
#include "platform/text.h"
#include "ui/hooked_dialog.h"

using ui::HookedDialog;
using ui::IdName;
using ui::ToQt;

namespace charts {

namespace {

// Lines 4 and 5 carry the channels only a five-channel meter has.
bool IsFifthChannelLine(int channel) {
    return channel >= 3;
}

QString SwatchName(int channel) {
    if (channel == 3)
        return IdName(CGraphLegendDlg::IDC_SWATCH_4);
    if (channel == 4)
        return IdName(CGraphLegendDlg::IDC_SWATCH_5);
    return QStringLiteral("swatch%1").arg(channel);
}

// `frame` moved as little as it takes to lie within `room` (its top left first when it is
// larger).
QRect KeptInside(QRect frame, const QRect& room) {
    frame.moveRight(std::min(frame.right(), room.right()));
    frame.moveBottom(std::min(frame.bottom(), room.bottom()));
    frame.moveLeft(std::max(frame.left(), room.left()));
    frame.moveTop(std::max(frame.top(), room.top()));
    return frame;
}

QPixmap Swatch(COLORREF colour) {
    QPixmap swatch(24, 6);
    swatch.fill(platform::ToQColor(colour));
    return swatch;
}

}  // namespace

CGraphLegendDlg::CGraphLegendDlg(ChartsHost& host, const acquisition::Recording& recording,
                                 const CInstrStatus& setup)
    : m_host(host), m_recording(recording), m_setup(setup) {}

CGraphLegendDlg::~CGraphLegendDlg() {
    DestroyWindow();
}

HookedDialog::Hooks CGraphLegendDlg::WindowHooks() {
    HookedDialog::Hooks hooks = ModelessWindow::WindowHooks();
    hooks.shown = [this] {
        OnShowWindow();
        Place();
    };
    return hooks;
}

void CGraphLegendDlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle("Legend");
    auto* grid = new QGridLayout(&dialog);
    auto* title = new QLabel(ToQt(m_strTitle), &dialog);
    title->setObjectName(IdName(IDC_TITLE));
    grid->addWidget(title, 0, 0, 1, 3);
    const std::array<COLORREF, kLegendChannels> colours = m_host.ChannelColours();
    for (int channel = 0; channel < kLegendChannels; ++channel) {
        auto* swatch = new QLabel(&dialog);
        swatch->setObjectName(SwatchName(channel));
        swatch->setPixmap(Swatch(colours[channel]));
        auto* label = new QLabel(&dialog);
        label->setObjectName(IdName(IDC_LABELS[channel]));
        auto* box = new QCheckBox(&dialog);
        box->setObjectName(IdName(IDC_CHECKS[channel]));
        QObject::connect(box, &QCheckBox::clicked, &dialog,
                         [this, channel](bool checked) { OnChannelCheck(channel, checked); });
        grid->addWidget(swatch, channel + 1, 0);
        grid->addWidget(label, channel + 1, 1);
        grid->addWidget(box, channel + 1, 2);
    }
    OnInitDialog();
}

void CGraphLegendDlg::OnInitDialog() {
    m_nChecked.fill(1);
    m_bPlaced = false;
    Sync();
}

void CGraphLegendDlg::Place() {
    QDialog* window = Window();
    if (!window)
        return;
    window->adjustSize();
    QRect frame = window->frameGeometry();
    const QRect list = m_host.ReportListScreenRect();
    if (!m_bPlaced && !list.isEmpty())
        frame.moveBottomRight(list.bottomRight());
    m_bPlaced = true;
    const QScreen* screen = list.isEmpty() ? nullptr : QGuiApplication::screenAt(list.center());
    if (!screen)
        screen = window->screen();
    if (screen)
        frame = KeptInside(frame, screen->availableGeometry());
    window->move(frame.topLeft());
}

void CGraphLegendDlg::OnShowWindow() {
    m_strLabels = {m_setup.m_strSlm1Param, m_setup.m_strSlm2Param, m_setup.m_strSlm3Param,
                   m_setup.m_strSlm4Param, m_setup.m_strSlm5Param};
    m_bBoxesEnabled = m_recording.SelectedSegment() != -1;
    m_bFiveChannels = !platform::Contains(m_setup.m_strModel, "QS4060");
    Sync();
}

void CGraphLegendDlg::OnChannelCheck(int channel, bool checked) {
    if (channel < 0 || channel >= kLegendChannels)
        return;
    m_nChecked[channel] = checked ? 1 : 0;
    if (checked) {
        if (m_recording.SelectedSegment() != -1)
            m_host.ReloadSelectedSegment();
    } else {
        m_host.ClearChannelCurve(channel);
    }
}

bool CGraphLegendDlg::IsChecked(int channel) const {
    return channel >= 0 && channel < kLegendChannels && m_nChecked[channel] != 0;
}

const std::string& CGraphLegendDlg::ChannelLabel(int channel) const {
    static const std::string kNone;
    return channel >= 0 && channel < kLegendChannels ? m_strLabels[channel] : kNone;
}

void CGraphLegendDlg::SetChannelLine(int channel, const std::string& text) {
    if (channel >= 0 && channel < kLegendChannels)
        m_strLabels[channel] = text;
}

void CGraphLegendDlg::Sync() {
    QDialog* window = Window();
    if (!window)
        return;
    if (auto* title = window->findChild<QLabel*>(IdName(IDC_TITLE)))
        title->setText(ToQt(m_strTitle));
    for (int channel = 0; channel < kLegendChannels; ++channel) {
        const bool shown = !IsFifthChannelLine(channel) || m_bFiveChannels;
        auto* label = window->findChild<QLabel*>(IdName(IDC_LABELS[channel]));
        auto* box = window->findChild<QCheckBox*>(IdName(IDC_CHECKS[channel]));
        auto* swatch = window->findChild<QLabel*>(SwatchName(channel));
        if (label) {
            label->setText(ToQt(m_strLabels[channel]));
            label->setVisible(shown);
        }
        if (box) {
            box->setChecked(m_nChecked[channel] != 0);
            box->setEnabled(m_bBoxesEnabled);
            box->setVisible(shown);
        }
        if (swatch)
            swatch->setVisible(shown);
    }
}

}  // namespace charts
