#include "acquisition/navigator_dlg.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPolygonF>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/button_st.h"

using ui::HookedDialog;
using ui::IdName;

namespace acquisition {

namespace {

constexpr int kIconSize = 16;

// The buttons' icons drawn in code: triangles and bars pointing the way each button moves.
QImage NavigatorIcon(int icon) {
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 60, 140));
    const auto right = [&](double x) {
        painter.drawPolygon(QPolygonF({QPointF(x, 3), QPointF(x + 7, 8), QPointF(x, 13)}));
    };
    const auto left = [&](double x) {
        painter.drawPolygon(QPolygonF({QPointF(x + 7, 3), QPointF(x, 8), QPointF(x + 7, 13)}));
    };
    switch (icon) {
        case 339:  // next
            right(5);
            break;
        case 337:  // previous
            left(4);
            break;
        case 338:  // end
            right(3);
            painter.drawRect(QRectF(11, 3, 2, 10));
            break;
        case 340:  // begin
            painter.drawRect(QRectF(3, 3, 2, 10));
            left(6);
            break;
        case 347:  // play
            painter.setBrush(QColor(20, 120, 40));
            right(5);
            break;
        case 342:  // fast play
            painter.setBrush(QColor(20, 120, 40));
            right(1);
            right(8);
            break;
        case 344:  // stop
            painter.setBrush(QColor(160, 30, 30));
            painter.drawRect(QRectF(4, 4, 8, 8));
            break;
        default:
            break;
    }
    return image;
}

}  // namespace

const std::array<CNavigatorDlg::ButtonInfo, CNavigatorDlg::kButtons>& CNavigatorDlg::Buttons() {
    static const std::array<ButtonInfo, kButtons> buttons = {{
        {1505, 339, "Go to Next"},
        {1507, 337, "Go to Prev"},
        {1506, 338, "Go to End"},
        {1508, 340, "Go to Begin"},
        {1512, 347, "Play"},
        {1511, 342, "Fast Play"},
        {1510, 344, "Stop"},
    }};
    return buttons;
}

CNavigatorDlg::CNavigatorDlg(NavigatorHost& host, const Recording& recording)
    : m_host(host), m_recording(recording), m_timers([this](int id) { OnTimer(id); }) {}

CNavigatorDlg::~CNavigatorDlg() {
    m_timers.KillAll();
    DestroyWindow();
}

void CNavigatorDlg::SetSpectrumCount(int count) {
    m_nSpectra = std::max(count, 0);
    if (IsWindowVisible())
        OnShowWindow();
}

void CNavigatorDlg::Open() {
    m_bOpen = true;
    Create();
    ShowWindow(true);
}

HookedDialog::Hooks CNavigatorDlg::WindowHooks() {
    return {.shown = [this] { OnShowWindow(); },
            .closing =
                [this] {
                    OnClose();
                    return false;
                },
            .ok = [] {},
            .cancel = [this] { OnClose(); }};
}

void CNavigatorDlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle("Spectrum Navigator");
    dialog.setObjectName(IdName(IDD));
    auto* layout = new QVBoxLayout(&dialog);
    auto* slider = new QSlider(Qt::Horizontal, &dialog);
    slider->setObjectName(IdName(IDC_SLIDER));
    QObject::connect(slider, &QSlider::sliderReleased, &dialog,
                     [this, slider] { OnSliderReleased(slider->value()); });
    layout->addWidget(slider);
    auto* row = new QHBoxLayout;
    const std::array<void (CNavigatorDlg::*)(), kButtons> actions = {
        &CNavigatorDlg::OnNext,  &CNavigatorDlg::OnPrevious, &CNavigatorDlg::OnLast,
        &CNavigatorDlg::OnFirst, &CNavigatorDlg::OnPlay,     &CNavigatorDlg::OnFastPlay,
        &CNavigatorDlg::OnStop};
    // On screen from the first spectrum to the last, the playing ones after them.
    for (const Button button : {First, Previous, Next, Last, Play, FastPlay, Stop}) {
        const ButtonInfo& info = Buttons()[button];
        auto* widget = new ui::CButtonST(&dialog);
        widget->setObjectName(IdName(info.id));
        widget->SetIcon(NavigatorIcon(info.icon), ui::CButtonST::BTNST_AUTO_GRAY);
        widget->SetTooltipText(info.tooltip);
        widget->SetFlat(TRUE);
        QObject::connect(widget, &QPushButton::clicked, &dialog,
                         [this, action = actions[button]] { (this->*action)(); });
        row->addWidget(widget);
    }
    layout->addLayout(row);
    OnInitDialog();
}

void CNavigatorDlg::OnInitDialog() {
    Sync();
    QDialog* window = Window();
    if (!window)
        return;
    const QRect list = m_host.ReportListScreenRect();
    if (list.isEmpty())
        return;
    window->adjustSize();
    window->move(list.right() + 1 - window->frameGeometry().width(), list.top());
}

int CNavigatorDlg::Current() const {
    return std::clamp(m_recording.SelectedRecord(), 0, std::max(LastIndex(), 0));
}

void CNavigatorDlg::Enable(std::initializer_list<Button> buttons, bool enable) {
    for (const Button button : buttons)
        m_enabled[button] = enable;
}

void CNavigatorDlg::OnShowWindow() {
    const int i = Current();
    m_nSlider = i;
    if (m_nSpectra == 0) {
        // Nothing to step through.
        StopPlaying();
        m_enabled.fill(false);
    } else if (i != 0 && i == LastIndex()) {
        Enable({Previous, First}, true);
        Enable({Next, Last, Play, FastPlay, Stop}, false);
    } else {
        Enable({Previous, First}, i != 0);
        Enable({Next, Last, Play, FastPlay}, i != LastIndex());
        Enable({Stop}, false);
    }
    Sync();
}

void CNavigatorDlg::MoveTo(int index) {
    if (m_nSpectra == 0)
        return;
    const int i = std::clamp(index, 0, LastIndex());
    m_nSlider = i;
    Sync();
    m_host.ShowRecord(i);
}

void CNavigatorDlg::StopPlaying() {
    m_timers.Kill(kPlayTimer);
}

void CNavigatorDlg::OnNext() {
    if (m_nSpectra == 0)
        return;
    const int i = std::min(Current() + 1, LastIndex());
    Enable({Previous, First}, true);
    if (i == LastIndex()) {
        StopPlaying();
        Enable({Next, Last, Play, FastPlay, Stop}, false);
    }
    MoveTo(i);
}

void CNavigatorDlg::OnPrevious() {
    const int i = Current();
    if (m_nSpectra == 0 || i < 1) {
        Enable({Previous, First}, false);
        Sync();
        return;
    }
    Enable({Next, Last, Play, FastPlay, Stop}, true);
    MoveTo(i - 1);
}

void CNavigatorDlg::OnLast() {
    if (m_nSpectra == 0)
        return;
    StopPlaying();
    Enable({Previous, First}, true);
    Enable({Next, Last, Play, FastPlay, Stop}, false);
    MoveTo(LastIndex());
}

void CNavigatorDlg::OnFirst() {
    if (m_nSpectra == 0)
        return;
    Enable({Previous, First}, false);
    Enable({Next, Last, Play, FastPlay, Stop}, true);
    MoveTo(0);
}

void CNavigatorDlg::OnPlay() {
    if (m_nSpectra == 0)
        return;
    m_timers.Set(kPlayTimer, kPlayMs);
    Enable({Play}, false);
    Enable({FastPlay, Stop}, true);
    Sync();
}

void CNavigatorDlg::OnFastPlay() {
    if (m_nSpectra == 0)
        return;
    m_timers.Set(kPlayTimer, kFastPlayMs);
    Enable({Play}, true);
    Enable({FastPlay}, false);
    Enable({Stop}, true);
    Sync();
}

void CNavigatorDlg::OnStop() {
    StopPlaying();
    Enable({Play, FastPlay}, m_nSpectra > 0);
    Enable({Stop}, false);
    Sync();
}

void CNavigatorDlg::OnTimer(int id) {
    if (id != kPlayTimer)
        return;
    OnNext();
    Enable({Previous, First}, false);
    if (m_nSpectra == 0 || Current() >= LastIndex()) {
        StopPlaying();
        Enable({Play, FastPlay, Stop}, false);
    }
    Sync();
}

void CNavigatorDlg::OnSliderReleased(int position) {
    if (m_nSpectra == 0)
        return;
    const int i = std::clamp(position, 0, LastIndex());
    Enable({Previous, First}, i != 0);
    Enable({Play, FastPlay, Stop}, true);
    if (i != LastIndex()) {
        Enable({Next, Last}, true);
    } else {
        Enable({Next, Last, Play, FastPlay, Stop}, false);
    }
    MoveTo(i);
}

void CNavigatorDlg::OnClose() {
    m_bOpen = false;
    StopPlaying();
    ShowWindow(false);
}

void CNavigatorDlg::Sync() {
    QDialog* window = Window();
    if (!window)
        return;
    if (auto* slider = window->findChild<QSlider*>(IdName(IDC_SLIDER))) {
        const QSignalBlocker quiet(slider);
        slider->setRange(0, SliderMaximum());
        slider->setValue(m_nSlider);
        slider->setEnabled(m_nSpectra > 0);
    }
    for (int button = 0; button < kButtons; ++button)
        if (auto* widget = window->findChild<QWidget*>(IdName(Buttons()[button].id)))
            widget->setEnabled(m_enabled[button]);
}

}  // namespace acquisition
