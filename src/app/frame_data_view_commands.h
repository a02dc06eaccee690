#pragma once
// The frame's five commands on the loaded data and its views (tool-bar commands): saving
// records, the 3-D graph and its properties window, the cross-reference view and the
// data-present state. They enable themselves from three facts: the current data file, the
// spectrum kind of the loaded record and whether a memory download runs. They keep the
// display-mode word, which the 3-D properties command tests.

#include <functional>
#include <optional>
#include <string>

#include "app/data_view_state.h"
#include "app/frame_command_ids.h"
#include "platform/win_types.h"

class ChartWindows;
class FrameDataFiles;
class MeterMode;

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

class CFrameDataViewCommands : public DataViewState {
public:
    // What the commands use, none of it owned.
    struct Uses {
        // The "Save on File" window.
        FrameDataFiles& dataFiles;
        // The 3-D settings window and the loaded data's "Spectrum" window.
        ChartWindows& charts;
        // Whether a memory download runs.
        const MeterMode& mode;
        // Has the current view update itself: the cross-reference view turned over.
        std::function<void()> updateView;
    };

    explicit CFrameDataViewCommands(const Uses& uses) : m_uses(uses) {}

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

    // The facts, from the application and the meter's mode.
    LoadedDataFacts Facts() const;

    // The display-mode word: the view sets it to 0 when first shown, nothing to 3; the 3-D
    // properties command is enabled only at 3.
    void SetDisplayMode(int mode) override { m_displayMode = mode; }
    int DisplayMode() const { return m_displayMode; }

    // The cross-reference view is on (the check mark of ID_VIEW_CROSS_REFERENCE).
    void SetCrossReference(BOOL on) override { m_bCrossReference = on; }
    BOOL m_bCrossReference = FALSE;

private:
    Uses m_uses;
    int m_displayMode = 0;
};
