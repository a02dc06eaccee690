#include "charts/setup_3d_graph_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "charts/xy_chart.h"
#include "platform/operator.h"
#include "ui/button_st.h"
#include "ui/hooked_dialog.h"

using ui::IdName;

namespace charts {

namespace {

enum class Arrow { Up, Down, Left, Right };

// The arrow icons of the buttons (351 up, 350 down, 348 left, 349 right).
QImage ArrowIcon(Arrow arrow) {
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 64, 160));
    QPolygon shape;
    switch (arrow) {
        case Arrow::Up:
            shape = QPolygon({QPoint(8, 2), QPoint(14, 10), QPoint(2, 10)});
            break;
        case Arrow::Down:
            shape = QPolygon({QPoint(8, 14), QPoint(14, 6), QPoint(2, 6)});
            break;
        case Arrow::Left:
            shape = QPolygon({QPoint(2, 8), QPoint(10, 2), QPoint(10, 14)});
            break;
        case Arrow::Right:
            shape = QPolygon({QPoint(14, 8), QPoint(6, 2), QPoint(6, 14)});
            break;
    }
    p.drawPolygon(shape);
    return icon;
}

}  // namespace

int LevelGridDivisions(int levels) {
    int divisions = levels % 20 == 0 ? levels / 20 : levels % 10 == 0 ? levels / 10 : levels / 5;
    // Fewer than five dB would leave the chart no level line to divide by.
    return std::max(1, divisions);
}

CSetup3DGraphDlg::CSetup3DGraphDlg(ChartsHost& host, const std::string& spectrumKind)
    : m_host(host), m_spectrumKind(spectrumKind) {}

CSetup3DGraphDlg::~CSetup3DGraphDlg() {
    DestroyWindow();
}

void CSetup3DGraphDlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle("3D Spectrum Properties");
    auto* layout = new QVBoxLayout(&dialog);

    auto edit = [&](QGridLayout* grid, int row, const char* caption, int id, int* field) {
        grid->addWidget(new QLabel(caption, &dialog), row, 0);
        auto* line = new QLineEdit(&dialog);
        line->setObjectName(IdName(id));
        line->setValidator(new QIntValidator(-100000, 100000, line));
        QObject::connect(line, &QLineEdit::textEdited, &dialog,
                         [field](const QString& text) { *field = text.toInt(); });
        grid->addWidget(line, row, 1);
    };
    auto* ranges = new QGroupBox("Ranges", &dialog);
    auto* rangeGrid = new QGridLayout(ranges);
    edit(rangeGrid, 0, "Y Max", IDC_Y_MAX, &m_nYMax);
    edit(rangeGrid, 1, "Y Min", IDC_Y_MIN, &m_nYMin);
    edit(rangeGrid, 2, "Z Max", IDC_Z_MAX, &m_nZMax);
    edit(rangeGrid, 3, "Z Min", IDC_Z_MIN, &m_nZMin);
    layout->addWidget(ranges);

    auto button = [&](QGridLayout* grid, int row, int column, int id, Arrow arrow,
                      std::function<void()> action) {
        auto* b = new ui::CButtonST(&dialog);
        b->setObjectName(IdName(id));
        b->SetIcon(ArrowIcon(arrow), ui::CButtonST::BTNST_NO_ICON);
        b->SetFlat(FALSE);
        QObject::connect(b, &QPushButton::clicked, &dialog, std::move(action));
        grid->addWidget(b, row, column);
    };
    auto* rotate = new QGroupBox("Rotate Axis", &dialog);
    auto* rotateGrid = new QGridLayout(rotate);
    button(rotateGrid, 0, 0, IDC_ROTATE_UP, Arrow::Up, [this] { OnRotate(1); });
    button(rotateGrid, 1, 0, IDC_ROTATE_DOWN, Arrow::Down, [this] { OnRotate(-1); });
    layout->addWidget(rotate);
    auto* origin = new QGroupBox("Move Origin", &dialog);
    auto* originGrid = new QGridLayout(origin);
    button(originGrid, 0, 1, IDC_ORIGIN_UP, Arrow::Up, [this] { OnMoveOrigin(0, 5.0); });
    button(originGrid, 1, 0, IDC_ORIGIN_LEFT, Arrow::Left, [this] { OnMoveOrigin(-1.0, 0); });
    button(originGrid, 1, 2, IDC_ORIGIN_RIGHT, Arrow::Right, [this] { OnMoveOrigin(1.0, 0); });
    button(originGrid, 2, 1, IDC_ORIGIN_DOWN, Arrow::Down, [this] { OnMoveOrigin(0, -5.0); });
    layout->addWidget(origin);

    auto* buttons = new QDialogButtonBox(&dialog);
    auto* apply = buttons->addButton("Apply", QDialogButtonBox::ApplyRole);
    apply->setObjectName(IdName(IDC_APPLY));
    QObject::connect(apply, &QPushButton::clicked, &dialog, [this] { OnApply(); });
    buttons->addButton("Set Default", QDialogButtonBox::AcceptRole);
    buttons->addButton("Close", QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    OnInitDialog();
}

void CSetup3DGraphDlg::OnInitDialog() {
    const auto [x1, x2, y1, y2, z1, z2] = m_host.Chart3D().GetViewSettings();
    m_nYMax = static_cast<int>(y2);
    m_nYMin = static_cast<int>(y1);
    m_nZMax = static_cast<int>(z2);
    m_nZMin = static_cast<int>(z1);
    m_nFirstAngle = -30;
    m_nSecondAngle = 30;
    Sync();
}

void CSetup3DGraphDlg::OnRotate(int step) {
    CChart3d& chart = m_host.Chart3D();
    chart.SetViewAngles(m_nFirstAngle + step, m_nSecondAngle + step);
    // The chart holds the angles within its bounds; the fields follow it.
    m_nFirstAngle = static_cast<int>(chart.FirstAngle());
    m_nSecondAngle = static_cast<int>(chart.SecondAngle());
    chart.Redraw(true);
    Sync();
}

void CSetup3DGraphDlg::OnMoveOrigin(double horizontal, double vertical) {
    CChart3d& chart = m_host.Chart3D();
    chart.SetOriginOffsets(chart.VerticalOrigin() + vertical,
                           chart.HorizontalOrigin() + horizontal);
    chart.Redraw(true);
}

void CSetup3DGraphDlg::OnApply() {
    if (!(0 <= m_nYMin && m_nYMin < m_nYMax)) {
        platform::AfxMessageBox(
            "ERROR: Max Y\tand Min Y must be positive and Max Y must be greater than Min Y.");
        return;
    }
    if (static_cast<long long>(m_nZMax) - m_nZMin > kMaxSpectra) {
        platform::AfxMessageBox("Max Interval allowed is 3000 spectrum.");
        return;
    }
    if (!(0 <= m_nZMin && m_nZMin < m_nZMax)) {
        platform::AfxMessageBox(
            "ERROR: Max Z\tand Min Z must be positive and Max Z must be greater than Min Z.");
        return;
    }
    const int levels = m_nYMax - m_nYMin;
    const bool octave = m_spectrumKind == "OCTAVE";
    CChart3d& chart = m_host.Chart3D();
    chart.SetViewGeometry(0, octave ? 10 : 30, 0, levels, 0, m_nZMax - m_nZMin);
    chart.SetGridDivisions(octave ? 11 : 32, LevelGridDivisions(levels));
    chart.SetLevelOffset(m_nYMin);
    chart.SetSpectrumOffset(m_nZMin);
    chart.Redraw(true);
    Sync();
}

void CSetup3DGraphDlg::Sync() {
    QDialog* window = Window();
    if (!window)
        return;
    const std::pair<int, int> fields[] = {
        {IDC_Y_MAX, m_nYMax}, {IDC_Y_MIN, m_nYMin}, {IDC_Z_MAX, m_nZMax}, {IDC_Z_MIN, m_nZMin}};
    for (const auto& [id, value] : fields)
        if (auto* edit = window->findChild<QLineEdit*>(IdName(id)))
            edit->setText(QString::number(value));
}

}  // namespace charts
