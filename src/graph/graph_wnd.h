#pragma once
// A graph of series against time: the object the rest of the program creates, fills and
// shows. It owns a fixed table of series slots and the two axis labels, and, once its window
// is created, a frame that holds the panel drawing the curves and the two rulers. Every change
// is told to the frame once (GraphChange), with the caller's notify word; before the window
// exists the changes only change the data.
//
// The window comes and goes with its parent widget; the object and its series stay until the
// owner deletes it.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "graph/axis_label.h"
#include "graph/graph_change.h"
#include "graph/graph_props.h"
#include "platform/win_types.h"
#include "ui/geometry.h"

namespace graph {

class CGraphPanel;
class GraphHost;
class GraphMetrics;

class CGraphWnd {
public:
    // Style bit of a window shown as soon as it is created.
    static constexpr unsigned kVisibleStyle = 0x10000000;

    explicit CGraphWnd(int capacity);
    ~CGraphWnd();
    CGraphWnd(const CGraphWnd&) = delete;
    CGraphWnd& operator=(const CGraphWnd&) = delete;

    // --- where it draws; set before Create
    void SetHost(GraphHost* host) { m_host = host; }
    GraphHost* Host() const { return m_host; }
    void SetMetrics(const GraphMetrics* metrics);
    const GraphMetrics& Metrics() const { return *m_metrics; }

    // --- the window
    // A window over `rect` of `parent` (which may be given later with SetParentWindow).
    // False when the window exists already.
    bool Create(const std::string& name, const ui::Rect& rect, QWidget* parent, int id,
                unsigned style, unsigned frameOption = 0);
    bool HasWindow() const { return m_window != nullptr; }
    QWidget* Window() const { return m_window; }
    // Moves the window to another parent (nullptr: none, hidden), keeping its place and
    // whether it is shown.
    void SetParentWindow(QWidget* parent);
    void ShowWindow(bool show);
    bool IsWindowVisible() const { return m_shown; }
    void DestroyWindow();
    int GetDlgCtrlID() const { return m_id; }
    unsigned FrameOption() const { return m_frameOption; }
    // The panel inside the frame; nullptr without a window.
    CGraphPanel* Panel() const;

    // --- series
    // The new series' index, or -1 when every slot is taken.
    int AddGraph(COLORREF colour, const std::string& name, unsigned notify, bool ordered,
                 bool duplicates);
    // The index, or -1 for an index out of range or an empty slot.
    int RemoveGraph(int index, unsigned notify);
    // nullptr for an empty slot or an index out of range.
    CGraphProps* GetGraph(int index) const;
    int GetGraphCount() const { return m_count; }
    int Capacity() const { return static_cast<int>(m_series.size()); }
    // Walk the present series in slot order; position -1 marks the end.
    CGraphProps* GetFirstGraph(int& position) const;
    CGraphProps* GetNextGraph(int& position) const;

    // --- points
    // Returns `insertIndex` as given (so -1 after an ordinary add), or -1 when the series
    // does not exist; the change carries the index at which the point stands.
    int AddPoint(int series, double x, double y, unsigned notify, int insertIndex = -1);
    // Many points in one call, told as one change (kPointsAppended) for the run that goes at
    // the series' end; a point that goes elsewhere in an ordered series is added and told on
    // its own. The number of points the series gained, or -1 when it does not exist.
    int AddPoints(int series, std::span<const GraphPoint> points, unsigned notify);
    // Room for `count` points in the series, before a known number of points is added.
    void ReservePoints(int series, int count);
    // The series' MovePoint result, or -1.
    int EditPoint(int series, int point, double x, double y, unsigned notify);
    // The point index, or -1.
    int RemovePoint(int series, int point, unsigned notify);
    // One series, or every series with -1.
    void ClearPoints(int series, unsigned notify);

    // --- range, options and bounds
    // Tells the panel its current range again with a new option word.
    void UpdateVisibleRange(unsigned options, unsigned notify);
    // The panel's option word; 0 without a panel.
    unsigned GetPanelValue() const;
    void SetVisibleRange(double xFrom, double xTo, double yFrom, double yTo, unsigned notify);
    // The panel's current limits; left as they are without a panel.
    void GetVisibleRange(double& xFrom, double& xTo, double& yFrom, double& yTo) const;
    // The extent of the visible series that have points; false (outputs untouched) when none.
    bool GetBoundRect(double& xMin, double& xMax, double& yMin, double& yMax) const;
    // Gives the first visible series with points exactly these bounds and widens every
    // further one to take them in; false when there is none.
    bool ApplyBoundsToGraphs(double xMin, double xMax, double yMin, double yMax);
    // The panel's fit command (FitCommand).
    void FitPanel(int command);

    // --- axes: 1 is the x axis, any other value the y axis
    const CGraphAxisLabel& GetAxis(int axis) const;
    void SetAxisTexts(const std::string& name, const std::string& unit, int decimals, int axis,
                      unsigned notify);
    std::string FormatAxisValue(double value, int axis, int style) const;

    // --- the frame
    // RedrawFlags: bit 1 the curves, bit 4 both rulers.
    void RedrawParts(unsigned flags);
    // BarFlags.
    void ForwardToFrame(unsigned flags);

    // The presentation of the series copies that a property page edited, each by its index;
    // copies whose slot is empty or out of range are passed over.
    void ApplySeriesCopies(const std::vector<CGraphProps>& copies);

    // The frame tells the graph when it exists and when it goes.
    void AttachFrame(GraphFrameLink* frame) { m_frame = frame; }

private:
    void Notify(GraphChange change);
    CGraphAxisLabel& Axis(int axis) { return axis == kXAxis ? m_xAxis : m_yAxis; }

    GraphFrameLink* m_frame = nullptr;
    std::vector<std::unique_ptr<CGraphProps>> m_series;
    int m_count = 0;
    CGraphAxisLabel m_yAxis;
    CGraphAxisLabel m_xAxis;
    unsigned m_frameOption = 0;
    int m_id = 0;
    bool m_shown = false;
    QPointer<QWidget> m_window;
    GraphHost* m_host = nullptr;
    const GraphMetrics* m_metrics;
};

}  // namespace graph
