// The panel's context menu and commands: display options, zoom and fit, the measurement
// markers, labels and its page of the "Properties" sheet.
#include <QMenu>
#include <QPointer>

#include "graph/graph_commands.h"
#include "graph/graph_dialogs.h"
#include "graph/graph_host.h"
#include "graph/graph_marks.h"
#include "graph/graph_panel.h"
#include "graph/graph_property_pages.h"
#include "graph/graph_wnd.h"

namespace graph {

void CGraphPanel::AddContextMenuItems(QMenu& menu) {
    const GraphContext context = Host().Context();
    const GraphMarks* marks = Host().Marks();
    AddMenuCommand(menu, "Point marks", kPointMarksCommand, (m_options & kPointMarks) != 0);
    AddMenuCommand(menu, "View Status LAST", kStatusLastCommand, m_statusHighlight);
    AddMenuCommand(menu, "Axis", kAxisCommand, (m_options & kAxis) != 0);
    menu.addSeparator();
    QMenu* zoom = menu.addMenu("Zoom");
    AddMenuCommand(*zoom, "Zoom tool", kZoomToolCommand, m_zoomRectShown);
    AddMenuCommand(*zoom, "Zoom +", kZoomInCommand, -1, m_zoomRectShown);
    AddMenuCommand(*zoom, "Zoom -", kZoomOutCommand);
    QMenu* fit = menu.addMenu("Fit...");
    AddMenuCommand(*fit, "Width", kFitWidth);
    AddMenuCommand(*fit, "Height", kFitHeight);
    AddMenuCommand(*fit, "Page", kFitPage);
    menu.addSeparator();
    // The live page's markers would slide away with every record.
    const bool markable = !(context.liveMonitoring && context.selectedSegment == -1);
    const bool haveMarker = marks && !marks->markers.empty();
    AddMenuCommand(menu, "Set Marker A", kMarkerACommand, -1, markable);
    AddMenuCommand(menu, "Set Marker B", kMarkerBCommand, -1, markable && haveMarker);
    AddMenuCommand(menu, "Clear Markers", kClearMarkersCommand, -1, markable);
    menu.addSeparator();
    AddMenuCommand(menu, "Insert Label", kInsertLabelCommand);
    AddMenuCommand(menu, "Clear Labels", kClearLabelsCommand);
}

void CGraphPanel::OnMenuCommand(int id) {
    GraphHost& host = Host();
    switch (id) {
        case kPointMarksCommand:
            ToggleOption(kPointMarks, true);
            host.SetViewSwitch(ViewSwitch::PointMarks, !host.GetViewSwitch(ViewSwitch::PointMarks));
            break;
        case kLinesOffCommand:
            ToggleOption(kPointsOnly, true);
            break;
        case kReadoutCommand:
            ToggleOption(kReadout, false);
            break;
        case kAxisCommand:
            ToggleOption(kAxis, true);
            host.SetViewSwitch(ViewSwitch::Axis, !host.GetViewSwitch(ViewSwitch::Axis));
            break;
        case kZoomToolCommand:
            if (m_zoomRectShown)
                HideZoomRect();
            else
                ShowZoomRect(kZoomToolRect);
            break;
        case kZoomInCommand:
            if (ZoomToTracker())
                host.ZoomedIn();
            break;
        case kZoomOutCommand:
            OnFit(kFitPage);
            HideZoomRect();
            host.ZoomReset();
            break;
        case kFitWidth:
        case kFitHeight:
        case kFitPage:
            OnFit(id);
            break;
        case kPropertiesCommand:
            RunPropertySheet(this);
            break;
        case kMarkerACommand:
            SetMarker(kMarkerA);
            break;
        case kMarkerBCommand:
            SetMarker(kMarkerB);
            break;
        case kClearMarkersCommand:
            ClearMarkers();
            break;
        case kStatusLastCommand:
            m_statusHighlight = !m_statusHighlight;
            PaintNow();
            break;
        case kInsertLabelCommand:
            InsertLabel();
            break;
        case kClearLabelsCommand:
            ClearLabels();
            break;
        default:
            break;
    }
}

void CGraphPanel::SetMarker(int which) {
    GraphHost& host = Host();
    host.SetViewSwitch(ViewSwitch::MarkersCleared, false);
    const std::string coordinates = CoordinateText(m_lastClick);
    const std::string readout =
        host.FormatPointReadout(m_lastClick.x(), m_lastClick.y(), coordinates);
    if (GraphMarks* marks = host.Marks())
        StoreMarker(marks->markers, which, MakeMarker(SampleDigits(coordinates), readout));
    PaintNow();
}

void CGraphPanel::ClearMarkers() {
    GraphHost& host = Host();
    host.SetViewSwitch(ViewSwitch::MarkersCleared, true);
    if (GraphMarks* marks = host.Marks())
        marks->markers.clear();
    host.RefreshSegmentGraph();
    PaintNow();
}

void CGraphPanel::InsertLabel() {
    if (!m_hasScales)
        return;
    const std::string xText = m_graph.FormatAxisValue(m_xScale.PixelToValue(m_lastClick.x()),
                                                      kXAxis, CGraphAxisLabel::kValueAndUnit);
    const std::string yText = m_graph.FormatAxisValue(m_yScale.PixelToValue(m_lastClick.y()),
                                                      kYAxis, CGraphAxisLabel::kValueAndUnit);
    CGraphLabelDlg dialog;
    const QPointer<CGraphPanel> alive(this);
    if (dialog.DoModal() != IDOK || !alive)
        return;
    GraphHost& host = Host();
    GraphMarks* marks = host.Marks();
    if (!marks)
        return;
    const GraphContext context = host.Context();
    marks->labels.push_back(MakeLabelRecord({marks->currentRecord, context.recordKind, xText, yText,
                                             dialog.m_strLabel, dialog.m_strAudioLabel}));
    PaintNow();
    host.OnLabelAdded(!dialog.m_strAudioLabel.empty());
}

void CGraphPanel::ClearLabels() {
    const GraphMarks* marks = Host().Marks();
    if (marks && !marks->labels.empty())
        Host().ClearLabels();
}

// --- the "General" page

void CGraphPanel::AddPropertyPages(GraphPropertySheet& sheet) {
    m_generalPage = std::make_unique<CGraphPropertyPage>();
    m_generalPage->Fill(m_range, m_options);
    sheet.AddPage(m_generalPage.get(), "General");
}

void CGraphPanel::ApplyProperties(int result) {
    if (result == IDOK && m_generalPage) {
        const CGraphPropertyPage& page = *m_generalPage;
        SetRange(page.m_x1, page.m_x2, page.m_y1, page.m_y2, false);
        SetOptions(page.ApplyTo(m_options), false);
    }
    m_generalPage.reset();
}

}  // namespace graph
