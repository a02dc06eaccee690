#pragma once
// The frame's five commands on the loaded data and its views (tool-bar commands): saving
// records, the 3-D graph and its properties window, the cross-reference view and the
// data-present state. They enable themselves from three facts: the current data file, the
// spectrum kind of the loaded record and whether a memory download runs.

#include <optional>
#include <string>

#include "app/frame_command_ids.h"
#include "platform/win_types.h"

class CMainFrame;

using cmd::ID_3DGRAPH_PROPERTIES;
using cmd::ID_DATA_PRESENT;
using cmd::ID_SAVE;
using cmd::ID_VIEW_3DGRAPH;
using cmd::ID_VIEW_CROSS_REFERENCE;

// What the commands read.
struct LoadedDataFacts {
    std::string currentFile;   // empty or "-1" when no data are loaded; only the data-present
                               // state counts "-1" as none
    std::string spectrumKind;  // "OCTAVE", "TOCTAVE", ... or "-1"
    bool downloading = false;
};

struct CommandState {
    bool enabled = false;
    bool checked = false;
};

// The command's tool-tip text as the string table has it ("tip\ntitle"); nullptr for the
// data-present state, which has none.
const char* DataViewCommandTip(unsigned id);

CommandState UpdateView3DGraphState(const LoadedDataFacts& facts);
CommandState UpdateViewCrossReferenceState(const LoadedDataFacts& facts, BOOL crossReference);
CommandState UpdateDataPresentState(const LoadedDataFacts& facts);

class CFrameDataViewCommands {
public:
    explicit CFrameDataViewCommands(CMainFrame& frame) : m_frame(frame) {}

    static bool IsDataViewCommand(unsigned id);
    // Runs the command; false for an id that is none of the five.
    bool OnCommand(unsigned id);
    // The command's state; nothing for an id whose state the frame's other update handlers
    // decide (ID_SAVE, ID_3DGRAPH_PROPERTIES) or that is none of the five.
    std::optional<CommandState> OnUpdateCommand(unsigned id) const;

    // "Save on File" (CSelFileToSaveDlg).
    void OnSave();
    // The frame's 3-D settings window, made on first use, shown.
    void On3DGraphProperties();
    // Turns the cross-reference view over and has the view update itself.
    void OnViewCrossReference();
    // The loaded data's spectra as a 3-D waterfall ("Spectrum").
    void OnView3DGraph();

    // The facts, from the application and the frame.
    LoadedDataFacts Facts() const;

    // The cross-reference view is on (the check mark of ID_VIEW_CROSS_REFERENCE).
    BOOL m_bCrossReference = FALSE;

private:
    CMainFrame& m_frame;
};
