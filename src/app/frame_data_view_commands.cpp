#include "app/frame_data_view_commands.h"

#include "app/chart_windows.h"
#include "app/frame_data_files.h"
#include "app/kx9monitor_app.h"
#include "charts/setup_3d_graph_dlg.h"
#include "link/meter_mode.h"

const char* DataViewCommandTip(unsigned id) {
    switch (id) {
        case ID_SAVE:
            return "Salva...\nSalva...";
        case ID_VIEW_3DGRAPH:
            return "View 3D Graph is available only if data are present and current view is "
                   "Table\nView 3D Graph";
        case ID_3DGRAPH_PROPERTIES:
            return "3D Graph Prop.\n3D Graph Prop.";
        case ID_VIEW_CROSS_REFERENCE:
            return "View Cross Reference\nView Cross Reference";
        default:
            return nullptr;
    }
}

CommandState UpdateView3DGraphState(const LoadedDataFacts& facts) {
    const bool spectrum = facts.spectrumKind == "OCTAVE" || facts.spectrumKind == "TOCTAVE";
    return {!facts.currentFile.empty() && !facts.downloading && spectrum, false};
}

CommandState UpdateViewCrossReferenceState(const LoadedDataFacts& facts, BOOL crossReference) {
    if (facts.currentFile.empty() || facts.spectrumKind == "-1")
        return {false, false};
    return {true, crossReference != FALSE};
}

CommandState UpdateDataPresentState(const LoadedDataFacts& facts) {
    const bool loaded = !facts.currentFile.empty() && facts.currentFile != "-1";
    return {loaded && !facts.downloading, false};
}

bool CFrameDataViewCommands::IsDataViewCommand(unsigned id) {
    return id == ID_SAVE || id == ID_VIEW_3DGRAPH || id == ID_3DGRAPH_PROPERTIES ||
           id == ID_VIEW_CROSS_REFERENCE || id == ID_DATA_PRESENT;
}

bool CFrameDataViewCommands::OnCommand(unsigned id) {
    switch (id) {
        case ID_SAVE:
            OnSave();
            return true;
        case ID_3DGRAPH_PROPERTIES:
            On3DGraphProperties();
            return true;
        case ID_VIEW_CROSS_REFERENCE:
            OnViewCrossReference();
            return true;
        case ID_VIEW_3DGRAPH:
            OnView3DGraph();
            return true;
        case ID_DATA_PRESENT:
            return true;  // it only shows a state
        default:
            return false;
    }
}

std::optional<CommandState> CFrameDataViewCommands::OnUpdateCommand(unsigned id) const {
    switch (id) {
        case ID_VIEW_3DGRAPH:
            return UpdateView3DGraphState(Facts());
        case ID_VIEW_CROSS_REFERENCE:
            return UpdateViewCrossReferenceState(Facts(), m_bCrossReference);
        case ID_DATA_PRESENT:
            return UpdateDataPresentState(Facts());
        default:
            return std::nullopt;
    }
}

void CFrameDataViewCommands::OnSave() {
    m_uses.dataFiles.RunSaveDialog();
}

void CFrameDataViewCommands::On3DGraphProperties() {
    m_uses.charts.Setup3D().Create();
    m_uses.charts.Setup3D().ShowWindow(true);
}

void CFrameDataViewCommands::OnView3DGraph() {
    m_uses.charts.ShowLoadedSpectra();
}

void CFrameDataViewCommands::OnViewCrossReference() {
    m_bCrossReference = !m_bCrossReference;
    if (m_uses.updateView)
        m_uses.updateView();
}

LoadedDataFacts CFrameDataViewCommands::Facts() const {
    const CKX9MonitorApp& app = TheApp();
    return {app.m_strCurrentFile, app.m_strSpectrumKind, m_uses.mode.IsDownloading()};
}
