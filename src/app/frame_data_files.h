#pragma once
// The data files: the acquisition side's reader of record files and their labels, which
// FrameAcquisitionHost serves, the spectrum navigator, the audio-label window, and the "Save on
// File" window.

#include "acquisition/data_file_reader.h"
#include "acquisition/navigator_dlg.h"
#include "acquisition/recording.h"
#include "app/frame_acquisition_host.h"
#include "sound/label_audio_dlg.h"

class FrameDataFiles {
public:
    // What the data files use, none of it owned.
    struct Uses {
        // The view's page list, which lists an opened data set's pages.
        acquisition::PageListView& pages;
        // The recording the view shows, into which the pages load.
        acquisition::Recording& recording;
        // The program's setup block, which a loaded file's replaces.
        records::SetupBlock& setupBlock;
        FrameUi& ui;
        acquisition::OperatorNotices& notices;
        // A loaded recording's kind; whether the data are saved.
        MeterMode& mode;
        ChartWindows& charts;
        CViewSchedLoggingDlg& schedulerLogViewer;
        const ViewLookup& views;
    };

    explicit FrameDataFiles(const Uses& uses);
    FrameDataFiles(const FrameDataFiles&) = delete;
    FrameDataFiles& operator=(const FrameDataFiles&) = delete;

    // Opens a data file chosen by the operator or named on the command line, a page of it, and
    // keeps the label table beside it.
    acquisition::DataFileReader& Reader() { return m_reader; }

    // "Save on File" (CSelFileToSaveDlg) on the current recording; the data count as saved once
    // chosen pages were saved. False when the operator cancelled it.
    bool RunSaveDialog();

    acquisition::CNavigatorDlg& Navigator() { return m_navigator; }
    // The spectrum navigator opened (made when missing), or hidden when it exists.
    void ShowNavigator(bool show);

    sound::CLabelAudioDlg& AudioLabels() { return m_audioLabels; }
    // Makes the audio-label window when missing, refreshes it and shows it or hides it.
    void ShowAudioLabels(bool hasAudioLabels);
    // The audio-label window as a page click leaves it: made when missing, else its list
    // refreshed and shown while the labels hold audio labels.
    void UpdateAudioLabelWindow();

private:
    MeterMode& m_mode;
    const ViewLookup& m_views;
    FrameAcquisitionHost m_host;
    acquisition::DataFileReader m_reader;
    acquisition::CNavigatorDlg m_navigator;
    sound::CLabelAudioDlg m_audioLabels;
};
