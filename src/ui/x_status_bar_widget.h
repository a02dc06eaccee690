#pragma once
// Shows an XStatusBar: paints every pane itself (border, on or off background, text, image or
// child widget), drives the scrolling panes with its timer and hands mouse events on to an
// owner widget.

#include <QPointer>
#include <QStatusBar>
#include <map>

#include "platform/window_timers.h"
#include "ui/x_status_bar.h"

namespace ui {

class XStatusBarWidget : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kScrollTimerId = 20000;
    static constexpr unsigned kScrollIntervalMs = 100;

    // `bar` must outlive the widget.
    explicit XStatusBarWidget(XStatusBar& bar, QWidget* parent = nullptr);
    ~XStatusBarWidget() override;

    XStatusBar& Bar() { return m_bar; }

    // The child widget of a window pane (mode XSB_WINDOW); the bar takes it as its child.
    void SetPaneWindow(int index, QWidget* child);
    // Receives the bar's mouse events; none is set unless the frame asks for it.
    void SetMouseOwner(QWidget* owner) { m_owner = owner; }
    bool IsScrollTimerRunning() const { return m_timers.IsSet(kScrollTimerId); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool ShowsGrip() const;
    std::vector<Rect> CurrentRects() const;
    void PlaceChildren();
    void PaintPane(QPainter& painter, int index, const Rect& pane);
    void PaintText(QPainter& painter, int index, const Rect& area);
    void PaintBitmap(QPainter& painter, int index, const Rect& area);
    void PaintGrip(QPainter& painter);
    void Forward(QMouseEvent* event);

    XStatusBar& m_bar;
    platform::WindowTimers m_timers;
    std::map<int, QPointer<QWidget>> m_children;
    QPointer<QWidget> m_owner;
};

}  // namespace ui
