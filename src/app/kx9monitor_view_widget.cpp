#include "app/kx9monitor_view_widget.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QResizeEvent>
#include <QWidget>
#include <map>

#include "app/kx9monitor_view.h"
#include "charts/bar_chart_window.h"
#include "ui/list_ctrl_widget.h"
#include "ui/report_list_widget.h"

namespace {

QImage Blank() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage PageImage() {
    QImage image = Blank();
    QPainter p(&image);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 10, 13);
    for (int y = 4; y <= 11; y += 2)
        p.drawLine(5, y, 11, y);
    return image;
}

QImage FolderImage() {
    QImage image = Blank();
    QPainter p(&image);
    p.setPen(QColor(128, 96, 0));
    p.setBrush(QColor(255, 208, 64));
    p.drawRect(1, 4, 14, 9);
    p.drawRect(1, 2, 6, 2);
    return image;
}

QImage MarkImage() {
    QImage image = Blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 128, 0));
    p.drawPolygon(QPolygon({QPoint(3, 2), QPoint(13, 8), QPoint(3, 14)}));
    return image;
}

QImage ClockImage() {
    QImage image = Blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0, 0, 128));
    p.setBrush(Qt::white);
    p.drawEllipse(1, 1, 13, 13);
    p.drawLine(8, 8, 8, 4);
    p.drawLine(8, 8, 11, 8);
    return image;
}

QImage SignImage(const QColor& colour, const char* sign, bool triangle) {
    QImage image = Blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    if (triangle)
        p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(15, 14), QPoint(1, 14)}));
    else
        p.drawEllipse(1, 1, 14, 14);
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(triangle ? Qt::black : Qt::white);
    p.drawText(QRect(0, triangle ? 3 : 1, 16, 14), Qt::AlignCenter, sign);
    return image;
}

QPixmap LogoPicture() {
    QPixmap picture(30, 30);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 64, 128), 2));
    p.setBrush(QColor(224, 232, 248));
    p.drawEllipse(2, 2, 26, 26);
    QPainterPath wave;
    wave.moveTo(7, 15);
    wave.cubicTo(11, 5, 15, 25, 19, 15);
    wave.cubicTo(21, 10, 22, 12, 23, 15);
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    return picture;
}

class ViewWidget : public QWidget {
public:
    ViewWidget(CKX9MonitorView& view, QWidget* parent) : QWidget(parent), m_view(&view) {
        setObjectName("view");
        setAutoFillBackground(true);
        const std::vector<QImage> images = ViewImages();

        auto* report = Add(new ui::ReportListWidget(view.m_ReportList, this),
                           CKX9MonitorView::IDC_REPORT_LIST);
        auto* data =
            Add(new ui::ListCtrlWidget(view.m_DataList, this), CKX9MonitorView::IDC_DATA_LIST);
        auto* pages =
            Add(new ui::ReportListWidget(view.m_PageList, this), CKX9MonitorView::IDC_PAGE_LIST);
        auto* parameters =
            Add(new ui::ReportListWidget(view.m_ParamList, this), CKX9MonitorView::IDC_PARAM_LIST);
        Add(new ui::ReportListWidget(view.m_SpareList, this), CKX9MonitorView::IDC_SPARE_LIST);
        for (int chart : {CKX9MonitorView::IDC_LIVE_CHART, CKX9MonitorView::IDC_DATA_CHART})
            m_charts.push_back(
                Add(new charts::BarChartWindow(*view.BandChart(chart), this), chart));
        auto* logo = Add(new QLabel(this), CKX9MonitorView::IDC_LOGO);
        logo->setPixmap(LogoPicture());
        logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        pages->SetImages(images);
        parameters->SetImages(images);
        data->SetImages(images);

        connect(report, &ui::ListCtrlWidget::listRightClicked, this, [this](int, int) {
            if (m_view)
                m_view->OnRClickReportList();
        });
        connect(report, &ui::ListCtrlWidget::listDoubleClicked, this, [this](int, int) {
            if (m_view)
                m_view->OnDblclkReportList();
        });
        connect(pages, &ui::ListCtrlWidget::listClicked, this, [this](int, int) {
            if (m_view)
                m_view->OnClickList1602();
        });
        connect(data, &ui::ListCtrlWidget::listDoubleClicked, this, [this](int, int) {
            if (m_view)
                m_view->OnDblClkDataList();
        });

        view.SetControlsChangedHandler([this] { PlaceControls(); });
        view.SetDestroyedHandler([this] {
            m_view = nullptr;
            // The charts go with the view.
            for (charts::BarChartWindow* chart : m_charts)
                chart->Detach();
        });
        view.SetWindow(this);
        resize(CKX9MonitorView::kFormWidth, CKX9MonitorView::kFormHeight);
        if (!view.IsInitialised())
            view.OnInitialUpdate();
        PlaceControls();
    }

    ~ViewWidget() override {
        if (m_view) {
            m_view->SetControlsChangedHandler(nullptr);
            m_view->SetDestroyedHandler(nullptr);
            m_view->SetWindow(nullptr);
        }
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (m_view)
            m_view->OnSize(event->size().width(), event->size().height());
    }

private:
    template <typename W>
    W* Add(W* widget, int id) {
        widget->setObjectName(QString::number(id));
        m_controls[id] = widget;
        return widget;
    }

    void PlaceControls() {
        if (!m_view)
            return;
        for (const CKX9MonitorView::Control& control : m_view->Controls()) {
            const auto found = m_controls.find(control.id);
            if (found == m_controls.end())
                continue;
            const ui::Rect& r = control.rect;
            found->second->setGeometry(r.left, r.top, r.Width(), r.Height());
            found->second->setVisible(control.visible);
        }
    }

    CKX9MonitorView* m_view;
    std::map<int, QWidget*> m_controls;
    std::vector<charts::BarChartWindow*> m_charts;
};

}  // namespace

QWidget* CreateViewWidget(CKX9MonitorView& view, QWidget* parent) {
    return new ViewWidget(view, parent);
}

std::vector<QImage> ViewImages() {
    return {PageImage(),
            FolderImage(),
            MarkImage(),
            ClockImage(),
            SignImage(QColor(0, 64, 192), "i", false),
            SignImage(QColor(255, 200, 0), "!", true),
            SignImage(QColor(192, 0, 0), "x", false)};
}
