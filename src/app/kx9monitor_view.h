#pragma once
// The main view: the report list that the report writers fill row by row, the data list of a
// recording, the page index of a stored recording, the parameter list and the band charts,
// placed on the form and kept in place when it is resized.
//
// It is no widget: CreateViewWidget (kx9monitor_view_widget.h) shows it, and its graph windows
// are children of that widget while it exists; so are the windows of its two band charts. It
// fills the graph of a loaded page and the band charts from the recording it is handed
// (kx9monitor_view_graphs.cpp); the floating windows are the chart windows' and the data
// files', which it is handed too (ViewUses).

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "acquisition/recording.h"
#include "app/frame_graph_host.h"
#include "app/view_uses.h"
#include "charts/bar_chart.h"
#include "charts/record_graph.h"
#include "charts/xy_chart.h"
#include "graph/graph_wnd.h"
#include "ui/control_anchor_layout.h"
#include "ui/geometry.h"
#include "ui/print_job.h"
#include "ui/print_list_ctrl.h"
#include "ui/report_ctrl.h"
#include "ui/virtual_list_ctrl.h"

class QWidget;

// The view's two graph windows: the data graph it creates itself ("Graph Window") and the
// second one, which shows a stored page.
enum class ViewGraph { Data, Second };

class CKX9MonitorView : public ui::PrintHooks {
public:
    // The form's controls.
    enum ControlId : int {
        IDC_REPORT_LIST = 1000,
        IDC_PARAM_LIST = 1016,
        IDC_SPARE_LIST = 1064,
        IDC_LIVE_CHART = 1482,
        IDC_PAGE_LIST = 1602,
        IDC_DATA_LIST = 1603,
        IDC_DATA_CHART = 1604,
        IDC_LOGO = 1781,
    };
    // The data graph.
    static constexpr const char* kGraphWindowName = "Graph Window";
    static constexpr int IDC_GRAPH_WINDOW = 11000;
    static constexpr int kGraphSlots = 32;
    // The form, 360 x 213 dialog units of its 8-point font, in pixels.
    static constexpr int kFormWidth = 540;
    static constexpr int kFormHeight = 346;
    // The small images of the lists (icons 142, 358, 328, 376, 165, 377, 378).
    static constexpr int kImageCount = 7;
    static constexpr int kMarkedRowImage = 2;

    struct Control {
        int id;
        ui::Rect rect;  // view client coordinates
        bool visible;
    };

    using Uses = ViewUses;

    // `uses` (copied; nullptr: none) is what the view reaches besides itself.
    explicit CKX9MonitorView(const Uses* uses = nullptr);
    ~CKX9MonitorView() override;
    CKX9MonitorView(const CKX9MonitorView&) = delete;
    CKX9MonitorView& operator=(const CKX9MonitorView&) = delete;

    // --- the form's controls, as the window places and shows them
    const std::vector<Control>& Controls() const { return m_controls; }
    const Control* FindControl(int id) const;
    bool IsControlVisible(int id) const;
    void ShowControl(int id, bool show);
    // Called after any control moved, appeared or disappeared.
    void SetControlsChangedHandler(std::function<void()> handler) {
        m_onControlsChanged = std::move(handler);
    }
    // Called when the view goes, so that a window showing it lets go of it.
    void SetDestroyedHandler(std::function<void()> handler) { m_onDestroyed = std::move(handler); }

    // --- graph windows
    // The widget that shows the view, parent of the graph windows; nullptr when none does.
    void SetWindow(QWidget* window);
    QWidget* Window() const { return m_pWindow; }
    graph::CGraphWnd* GraphWindow(ViewGraph graph) const;
    bool HasGraphWindow(ViewGraph graph) const { return GraphWindow(graph) != nullptr; }
    void ShowGraphWindow(ViewGraph graph, bool show);
    // The fit-page command to the data graph's panel.
    void FitDataGraph();
    // Each graph window is hidden, loses its points and goes.
    void DeleteGraphWindows();
    // A new session: the lists lose their rows (the report list stays in sight, the data list
    // goes), each graph window its points and the live band chart its bars, and the graphs
    // and the chart are hidden.
    void EmptyForNewSession();

    // --- charts
    // The band chart of a control id (IDC_LIVE_CHART or IDC_DATA_CHART); nullptr for another.
    charts::CChartWnd* BandChart(int id);

    // --- the graph windows of a recording (kx9monitor_view_graphs.cpp)
    // The graph of the loaded page's first `count` records of `kind` (channels' levels or
    // profile samples), made afresh below the report list: the previous one loses its points
    // and goes.
    void CreateDataGraph(records::RecordKind kind, long long count);
    // The spectrum of record `record` of the loaded page in the file chart; its row of the
    // loaded data's "Spectrum" window is highlighted.
    void RefreshGraphWindows(int record);
    // The same for the recording's selected record.
    void RefreshGraphWindows() { RefreshGraphWindows(Recording().SelectedRecord()); }
    // A live spectrum reply in the live chart.
    void RearrangeGraphWindows(const std::string& reply);
    // A report row's spectrum, "heading\tlevel\r\n" per band, in the live chart.
    void ShowReportSpectrum(const std::string& text);
    // The "Spectrum" windows are hidden.
    void HideDemoWindows();
    // The live twins of the fills: one live record's five level texts, one profile sample.
    void AddLiveRecord(int record, std::span<const std::string> levels);
    void AddLiveGraphPoint(int sample, const std::string& level);
    // The channels shown, their number and the "UR" line of the level graph (live: the live
    // graph's rule for the meter's channels).
    charts::LevelGraphOptions LevelGraphOptions(bool live) const;

    // --- the framework's calls
    void OnInitialUpdate();
    bool IsInitialised() const { return m_bInitialised; }
    void OnSize(int width, int height);
    void OnUpdate();
    // The commands the view takes (print, print direct, print preview); false for others.
    bool OnCommand(unsigned id);

    // --- printing the verification report (kx9monitor_view_print.cpp); the job prints a copy
    // of the report list, which stays as it is
    bool OnPreparePrinting(ui::CPrintInfo& info) override;
    void OnBeginPrinting(QPagedPaintDevice& device, ui::CPrintInfo& info) override;
    void OnPrint(QPainter& painter, ui::CPrintInfo& info) override;
    void OnEndPrinting(ui::CPrintInfo& info) override;

    // --- clicks
    // A page-list click: the current page's report list or a stored page's data list, with
    // the graphs, charts and floating windows of the recording's kind.
    void OnClickList1602();
    void OnRClickReportList();
    void OnDblclkReportList();
    void OnDblClkDataList();
    // The data list's cell texts (LVN_GETDISPINFO), and the image of its rows: the first sample
    // of each scheduled acquisition is marked.
    std::string OnGetDispInfoDataList(int row, int column) const;
    int DataListRowImage(int row) const;
    // The recording the lists show: the one handed, or the view's own when none was.
    acquisition::Recording& Recording() const;

    // --- services of the view
    // Empties both lists of a recording and gives them the columns of the kind.
    void SetupDataListColumns(std::optional<records::RecordKind> kind);
    // Fills the parameter list from the setup block handed (the meter's, or a data file's).
    void BuildSetupText();
    std::string GetParameterName(const std::string& code) const;

    // --- report-list trimming during live monitoring
    // Cuts the report list back to rows 0..lastKeptRow, the old page's rows behind the empty
    // ones first, at most `rows` rows a call; true when nothing is left to cut. The frame's
    // timer 12 calls it while live records go on arriving above `lastKeptRow`.
    bool TrimReportList(int lastKeptRow, int rows);
    void SetReportTrimFinished() { m_bTrimFinished = TRUE; }

    ui::CPrintListCtrl m_PrintList;
    ui::CReportCtrl m_ReportList;    // 1000
    ui::VirtualListCtrl m_DataList;  // 1603
    ui::CReportCtrl m_PageList;      // 1602
    ui::CReportCtrl m_ParamList;     // 1016
    ui::CReportCtrl m_SpareList;     // 1064
    std::vector<unsigned> m_TraceHandles;
    // The series of the graph of the loaded page.
    std::vector<int> m_RecordSeries;
    charts::CChartWnd m_LiveChart;  // 1482
    charts::CChartWnd m_DataChart;  // 1604
    // Holds the view geometry that the 3-D settings edit.
    charts::CChart3d m_Chart3d;
    ui::ControlAnchorLayout m_Layout;

    // The top of the live level scale, from the meter's input gain and range.
    int m_nLevelScaleTop = 0;
    // Set once the meter has told whether its extended range is on.
    int m_nExtendedRangeMark = 0;
    // The start time of the live recording's current page.
    std::string m_strPageStartTime;
    BOOL m_bReportListClicked = TRUE;
    // The report list keeps its last row in view as rows arrive.
    BOOL m_bFollowLastRow = FALSE;
    int m_nMarkedRow = -1;
    BOOL m_bTrimFinished = FALSE;
    // The live graph paints each record's points as they come.
    BOOL m_bLiveRepaint = TRUE;

    // Display switches that the graph routines read; all off after the initial update.
    int m_nPointMarks = 0;
    int m_nAxis = 0;
    int m_nWideLine = 0;
    int m_nURLine = 0;
    // The under-range level (dB) written beside the "UR" series.
    int m_nURLevel = 0;
    // Set by "Clear Markers", cleared by setting a marker.
    int m_nMarkersCleared = 0;
    // The record kind the graphs were last double-clicked on.
    std::string m_strRecordKind;
    // The equal-loudness edition (0 none, 1 for 1987, 2 for 2003): shows the equal-loudness
    // row of the data list.
    int m_nIsophone = 0;

    // What a page row shows besides its list, for levels or spectra; the navigator is left as
    // it is when it has no value.
    enum class PageRow { Current, Stored };
    struct PageViews {
        bool secondGraph;
        bool liveChart;
        bool dataChart;
        std::optional<bool> navigator;
    };

private:
    static const PageViews& PageViewsOf(PageRow row, bool spectra);
    void SetupListPrinter();
    std::optional<records::RecordKind> ChannelMode() const;
    void ShowGraph(ViewGraph graph, bool show) { ShowGraphWindow(graph, show); }
    void CreateLiveGraph();
    void ShowSpectrum(charts::CChartWnd& chart, std::span<const float> levels);
    void SetUpCharts();
    void SetRowImage(int row, int image);
    // The selected page row's text, the page row above a start-time row; nothing when no page
    // row is selected.
    std::optional<std::string> ClickedPageRow();
    void ShowCurrentPage();
    void ShowStoredPage(int segment);
    void ShowPageViews(PageRow row);
    void ControlsChanged() const;

    // The current print job's copy of the report list, and what it prints: that copy with the
    // tests moved to the top of a page, which takes the device's rows per page.
    ui::PrintedList m_reportCopy;
    ui::PrintedList m_printCopy;
    std::optional<Uses> m_uses;
    FrameGraphHost m_graphHost{*this, m_uses ? &*m_uses : nullptr};
    std::unique_ptr<graph::CGraphWnd> m_pDataGraph;
    std::unique_ptr<graph::CGraphWnd> m_pSecondGraph;
    QWidget* m_pWindow = nullptr;
    mutable acquisition::Recording m_ownRecording;
    std::vector<Control> m_controls;
    std::function<void()> m_onControlsChanged;
    std::function<void()> m_onDestroyed;
    bool m_bInitialised = false;
    // The page of which data file is in the data buffer.
    int m_nLoadedSegment = -1;
    std::string m_strLoadedFile;
};
