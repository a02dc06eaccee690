#pragma once
// The "Spectrum Navigator" (dialog 327): steps the view's spectrum displays through the stored
// spectra of a loaded recording one at a time, jumps to the first or last one, follows its
// slider, or plays them at one or five spectra a second (timer 11). The object keeps the
// buttons' states and the slider; its window, while there is one, shows them.
//
// Every position it moves to lies within the spectra it was told of, however that count
// changes while it is open: with no spectra it moves nowhere.

#include <QRect>
#include <algorithm>
#include <array>
#include <memory>

#include "acquisition/recording.h"
#include "platform/window_timers.h"
#include "ui/modeless_window.h"

namespace acquisition {

// What the navigator needs of the application.
class NavigatorHost {
public:
    virtual ~NavigatorHost() = default;
    // The record becomes the selected one and the view's displays show it.
    virtual void ShowRecord(int record) = 0;
    // The main view's report list in global screen coordinates; empty without a view window.
    virtual QRect ReportListScreenRect() const = 0;
};

class CNavigatorDlg : public ui::ModelessWindow {
public:
    static constexpr int IDD = 327;
    static constexpr int IDC_SLIDER = 1503;
    static constexpr int kPlayTimer = 11;
    static constexpr unsigned kPlayMs = 1000;
    static constexpr unsigned kFastPlayMs = 200;

    enum Button { Next, Previous, Last, First, Play, FastPlay, Stop, kButtons };
    struct ButtonInfo {
        int id;
        int icon;
        const char* tooltip;
    };
    static const std::array<ButtonInfo, kButtons>& Buttons();

    // It steps from the selected record of `recording` (-1: none), the spectrum the view's
    // displays show.
    CNavigatorDlg(NavigatorHost& host, const Recording& recording);
    ~CNavigatorDlg() override;

    // The number of spectra of the loaded record. While the window is shown the buttons and
    // the slider follow it at once.
    void SetSpectrumCount(int count);
    int SpectrumCount() const { return m_nSpectra; }

    // What the data-file reader does after a spectrum page: the open flag set, the window made
    // when missing, and shown.
    void Open();
    // Set from Open to the window's close.
    bool IsOpen() const { return m_bOpen; }

    // Runs once the window is built: its right edge on the report list's, its top on the
    // list's top.
    void OnInitDialog();
    // The slider's range and the buttons as the selected spectrum allows.
    void OnShowWindow();
    void OnNext();
    void OnPrevious();
    void OnLast();
    void OnFirst();
    void OnPlay();
    void OnFastPlay();
    void OnStop();
    void OnTimer(int id);
    // The slider let go at `position`.
    void OnSliderReleased(int position);
    // The close box: the open flag cleared, playing stopped, the window hidden.
    void OnClose();

    bool IsEnabled(Button button) const { return m_enabled[button]; }
    int SliderPosition() const { return m_nSlider; }
    int SliderMaximum() const { return std::max(m_nSpectra - 1, 0); }
    bool IsPlaying() const { return m_timers.IsSet(kPlayTimer); }

private:
    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& dialog) override;
    int LastIndex() const { return m_nSpectra - 1; }
    // The selected spectrum, kept within the spectra.
    int Current() const;
    void Enable(std::initializer_list<Button> buttons, bool enable);
    // Shows spectrum `index`, kept within the spectra.
    void MoveTo(int index);
    void StopPlaying();
    void Sync();

    NavigatorHost& m_host;
    const Recording& m_recording;
    int m_nSpectra = 0;
    int m_nSlider = 0;
    bool m_bOpen = false;
    std::array<bool, kButtons> m_enabled{};
    platform::WindowTimers m_timers;
};

}  // namespace acquisition
