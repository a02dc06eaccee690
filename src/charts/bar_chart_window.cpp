#include "charts/bar_chart_window.h"

#include <QMouseEvent>
#include <QToolTip>
#include <algorithm>

#include "platform/colors.h"
#include "platform/qt_text.h"
#include "ui/mem_dc.h"
#include "ui/system_colors.h"

using platform::ToQColor;

namespace charts {

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

QRect ToQRect(const ui::Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

QColor Mix(COLORREF from, COLORREF to, double share) {
    const QColor a = ToQColor(from);
    const QColor b = ToQColor(to);
    auto channel = [share](int x, int y) { return static_cast<int>(x + (y - x) * share); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

// A gradient in steps of 1/128 of the extent, at least a pixel each, across [from, to) of the
// columns (or rows) of `r`.
void Gradient(QPainter& p, const QRect& r, COLORREF start, COLORREF end, bool alongX) {
    const int extent = alongX ? r.width() : r.height();
    if (extent <= 0)
        return;
    const int step = std::max(1, extent / 128);
    for (int at = 0; at < extent; at += step) {
        const QColor colour = Mix(start, end, static_cast<double>(at) / extent);
        const int width = std::min(step, extent - at);
        if (alongX)
            p.fillRect(r.left() + at, r.top(), width, r.height(), colour);
        else
            p.fillRect(r.left(), r.top() + at, r.width(), width, colour);
    }
}

// The left third lights up from white, the rest fades back to white: a cylinder lit from the
// left.
void CylinderBar(QPainter& p, const QRect& r, COLORREF colour) {
    const int third = r.width() / 3;
    Gradient(p, QRect(r.left(), r.top(), third, r.height()), kWhite, colour, true);
    Gradient(p, QRect(r.left() + third, r.top(), r.width() - third, r.height()), colour, kWhite,
             true);
    p.setPen(ToQColor(colour));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

// A line with light above and shadow below; `middle` is the grid colour (red for the UR line).
void EmbossedLine(QPainter& p, int from, int to, int at, COLORREF middle, bool vertical) {
    auto line = [&](int offset, COLORREF colour) {
        p.setPen(ToQColor(colour));
        if (vertical)
            p.drawLine(at + offset, from, at + offset, to);
        else
            p.drawLine(from, at + offset, to, at + offset);
    };
    line(0, kWhite);
    line(-1, middle);
    line(1, middle);
    line(2, CChartWnd::kEmbossShadow);
}

void DrawGrid(QPainter& p, const CChartWnd& chart) {
    const ui::Rect& client = chart.ClientRect();
    const bool vertical = chart.Orientation() == CChartWnd::kVertical;
    for (int k = 0; k <= chart.Divisions(); ++k) {
        const int at = chart.GridLinePos(k);
        if (vertical) {
            const int from = chart.LeftMargin() - 4;
            if (chart.GridStyle() == CChartWnd::kGridTicks) {
                p.setPen(ToQColor(CChartWnd::kGridColour));
                p.drawLine(from, at, k == 0 ? client.right - 1 : chart.LeftMargin(), at);
            } else {
                EmbossedLine(p, from, client.right - 1, at, CChartWnd::kGridColour, false);
            }
        } else {
            const int from = chart.TopMargin() - 4;
            if (chart.GridStyle() == CChartWnd::kGridTicks) {
                p.setPen(ToQColor(CChartWnd::kGridColour));
                p.drawLine(at, from, at, k == 0 ? client.bottom - 1 : chart.TopMargin());
            } else {
                EmbossedLine(p, from, client.bottom - 1, at, CChartWnd::kGridColour, true);
            }
        }
    }
}

void DrawValueLabels(QPainter& p, const CChartWnd& chart) {
    p.setFont(chart.Font());
    p.setPen(ToQColor(ui::GetSysColor(ui::COLOR_WINDOWTEXT)));
    // A vertical chart's label box starts just above its grid line and is as tall as a bar
    // slot: set at its top, the label stands at its line.
    const Qt::Alignment align = chart.Orientation() == CChartWnd::kVertical
                                    ? Qt::AlignRight | Qt::AlignTop
                                    : Qt::AlignCenter;
    for (int k = 0; k <= chart.Divisions(); ++k)
        p.drawText(ToQRect(chart.ValueLabelRect(k)), align | Qt::TextSingleLine,
                   platform::ToQt(chart.ValueLabelText(k)));
}

void DrawSelectionFrame(QPainter& p, const CChartWnd& chart, QRect cell) {
    if (chart.LabelFrameStyle() == 0) {
        const QColor red = ToQColor(CChartWnd::kRed);
        p.fillRect(cell.left(), cell.top(), cell.width(), 2, red);
        p.fillRect(cell.left(), cell.top(), 2, cell.height(), red);
        p.fillRect(cell.right(), cell.top(), 1, cell.height(), red);
        p.fillRect(cell.left(), cell.bottom(), cell.width(), 1, red);
    } else {
        const QColor light = ToQColor(ui::GetSysColor(ui::COLOR_3DHILIGHT));
        const QColor dark = ToQColor(ui::GetSysColor(ui::COLOR_3DDKSHADOW));
        p.fillRect(cell.left(), cell.top(), cell.width(), 2, light);
        p.fillRect(cell.left(), cell.top(), 2, cell.height(), light);
        p.fillRect(cell.right() - 1, cell.top(), 2, cell.height(), dark);
        p.fillRect(cell.left(), cell.bottom() - 1, cell.width(), 2, dark);
    }
}

void DrawLabelCell(QPainter& p, const CChartWnd& chart, int index) {
    QRect cell = ToQRect(chart.LabelCell(index));
    if (index == chart.SelectedItem())
        DrawSelectionFrame(p, chart, cell);
    if (chart.Orientation() == CChartWnd::kVertical)
        return;
    cell.adjust(1, 1, -1, -1);
    const std::vector<QImage>* images = chart.ImageList();
    const int image = chart.GetItemImage(index);
    if (images && image >= 0 && image < static_cast<int>(images->size())) {
        const QImage& picture = (*images)[image];
        p.drawImage(cell.left(), cell.top() + (cell.height() - picture.height()) / 2, picture);
        cell.setLeft(cell.left() + picture.width() + 2);
    }
    const std::string& text = index == -1 ? chart.HeaderText() : chart.GetItemLabel(index);
    p.setFont(chart.Font());
    p.setPen(ToQColor(ui::GetSysColor(ui::COLOR_WINDOWTEXT)));
    p.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, platform::ToQt(text));
}

void DrawBandLabel(QPainter& p, const CChartWnd& chart, int index) {
    QFont font = chart.Font();
    font.setWeight(QFont::ExtraLight);
    p.setFont(font);
    p.setPen(ToQColor(ui::GetSysColor(ui::COLOR_WINDOWTEXT)));
    p.drawText(ToQRect(chart.BandLabelRect(index)), Qt::AlignCenter | Qt::TextSingleLine,
               platform::ToQt(chart.GetItemLabel(index)));
}

void DrawBar(QPainter& p, const CChartWnd& chart, int index, const BarChartContext& context) {
    const QRect bar = ToQRect(chart.BarRect(index));
    const COLORREF colour = chart.BarColour(index, context);
    if (chart.Orientation() == CChartWnd::kHorizontal) {
        Gradient(p, bar, colour, kWhite, true);
        return;
    }
    CylinderBar(p, bar, colour);
    if (const auto level = chart.MarkerLevel(index, context))
        if (const auto marker = chart.MarkerRect(index, *level))
            CylinderBar(p, ToQRect(*marker), CChartWnd::kRed);
}

void DrawURLine(QPainter& p, const CChartWnd& chart, int level) {
    if (level <= chart.Minimum())
        return;
    const int y = chart.LevelY(level);
    const ui::Rect& client = chart.ClientRect();
    EmbossedLine(p, chart.LeftMargin() - 4, client.right, y, CChartWnd::kRed, false);
    p.setFont(chart.Font());
    p.setPen(ToQColor(CChartWnd::kRed));
    const QFontMetrics metrics(chart.Font());
    p.drawText(chart.LeftMargin() + 10, y - 6 + metrics.ascent(),
               platform::ToQt("UR: " + std::to_string(level) + " dB"));
}

void DrawSunkenEdge(QPainter& p, const QRect& r) {
    const QColor shadow = ToQColor(ui::GetSysColor(ui::COLOR_3DSHADOW));
    const QColor light = ToQColor(ui::GetSysColor(ui::COLOR_3DHILIGHT));
    const QColor dark = ToQColor(ui::GetSysColor(ui::COLOR_3DDKSHADOW));
    const QColor face = ToQColor(ui::GetSysColor(ui::COLOR_3DLIGHT));
    auto frame = [&p](const QRect& f, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(f.topLeft(), f.topRight());
        p.drawLine(f.topLeft(), f.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(f.bottomLeft(), f.bottomRight());
        p.drawLine(f.topRight(), f.bottomRight());
    };
    frame(r.adjusted(0, 0, -1, -1), shadow, light);
    frame(r.adjusted(1, 1, -2, -2), dark, face);
}

}  // namespace

void PaintBarChart(QPainter& p, const CChartWnd& chart) {
    const ui::Rect& c = chart.ClientRect();
    const QRect client = ToQRect(c);
    const bool vertical = chart.Orientation() == CChartWnd::kVertical;

    if (chart.FillsBackground())
        p.fillRect(client, ToQColor(CChartWnd::kBackground));
    if (chart.LabelFrameStyle() != 0) {
        const QColor face = ToQColor(ui::GetSysColor(ui::COLOR_BTNFACE));
        if (vertical) {
            p.fillRect(c.left, c.bottom - chart.BarPitch() - 4, c.Width(), chart.BarPitch() + 4,
                       face);
            p.fillRect(c.left, c.top, chart.LeftMargin() + 4, c.Height(), face);
        } else {
            p.fillRect(c.left, c.top, chart.LabelColumnWidth(), c.Height(), face);
            p.fillRect(c.left, c.top, c.Width(), chart.TopMargin(), face);
        }
    }
    if (chart.GetItemCount() == 0)
        return;

    const BarChartContext context = chart.Context();
    DrawLabelCell(p, chart, -1);
    DrawValueLabels(p, chart);
    if (chart.GridStyle() == CChartWnd::kGridEmbossedBefore)
        DrawGrid(p, chart);
    for (int i = 0; i < chart.GetItemCount(); ++i) {
        DrawLabelCell(p, chart, i);
        if (vertical && chart.ShowsBandLabel(i, context))
            DrawBandLabel(p, chart, i);
        DrawBar(p, chart, i, context);
    }
    if (chart.GridStyle() != CChartWnd::kGridEmbossedBefore)
        DrawGrid(p, chart);
    if (context.urLine)
        DrawURLine(p, chart, context.urLevel);
    if (chart.DrawsEdge())
        DrawSunkenEdge(p, client);
}

// --- the window

BarChartWindow::BarChartWindow(CChartWnd& chart, QWidget* parent)
    : QWidget(parent), m_chart(&chart) {
    // The chart paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    chart.SetRedrawHandler([this] { update(); });
    chart.SetClientRect({0, 0, width(), height()});
}

BarChartWindow::~BarChartWindow() {
    Detach();
}

void BarChartWindow::Detach() {
    if (m_chart)
        m_chart->SetRedrawHandler(nullptr);
    m_chart = nullptr;
}

void BarChartWindow::paintEvent(QPaintEvent*) {
    if (!m_chart)
        return;
    QPainter painter(this);
    if (m_chart->DoubleBuffered()) {
        ui::CMemDC dc(painter, rect());
        PaintBarChart(*dc, *m_chart);
    } else {
        PaintBarChart(painter, *m_chart);
    }
}

void BarChartWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_chart)
        return;
    m_chart->SetClientRect({0, 0, width(), height()});
    m_chart->RecalcLayout();
}

void BarChartWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!m_chart)
        return;
    const QPoint at = event->position().toPoint();
    if (m_chart->OnMouseMove(at.x(), at.y(), event->buttons() & Qt::LeftButton))
        ShowTip(at);
}

void BarChartWindow::mousePressEvent(QMouseEvent* event) {
    if (!m_chart || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    m_chart->OnLButtonDown(at.x(), at.y());
}

void BarChartWindow::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (m_chart && m_chart->OnMouseLeave())
        QToolTip::hideText();
}

void BarChartWindow::ShowTip(const QPoint& at) {
    if (m_chart->TipText().empty()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(mapToGlobal(at), platform::ToQt(m_chart->TipText()), this, QRect(),
                       CChartWnd::kTipShowMs);
}

}  // namespace charts
