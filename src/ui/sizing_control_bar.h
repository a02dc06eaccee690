#pragma once
// A docking bar whose size the operator changes by dragging its inner edge: docked on any side
// of the main window or floating, it keeps one size per way of docking (SizingBarModel), applies
// it when it docks, and saves the sizes in the user's settings file. A bar with a gripper shows
// a title bar with a close button.

#include <QDockWidget>
#include <QPoint>
#include <string>

#include "ui/sizing_bar_model.h"

class QMainWindow;

namespace ui {

// The docking sides a bar accepts (CBRS_ALIGN_*), and the usual bar style bits.
constexpr unsigned CBRS_ALIGN_LEFT = 0x1000;
constexpr unsigned CBRS_ALIGN_TOP = 0x2000;
constexpr unsigned CBRS_ALIGN_RIGHT = 0x4000;
constexpr unsigned CBRS_ALIGN_BOTTOM = 0x8000;
constexpr unsigned CBRS_ALIGN_ANY = 0xF000;

class CSizingControlBar : public QDockWidget {
    Q_OBJECT
public:
    CSizingControlBar();
    ~CSizingControlBar() override;

    // The bar in `parent`, not docked yet: all three sizes (cx, cy); the sides from the style.
    virtual bool Create(const std::string& title, QMainWindow* parent, int cx, int cy,
                        bool hasGripper, int id, unsigned style = CBRS_ALIGN_ANY);
    // What the bar shows, inside its edges.
    void SetContent(QWidget* content);
    // Docks the bar on a side of its main window with the size kept for that side.
    void DockOn(BarDock dock);

    virtual void LoadState(const std::string& profile);
    virtual void SaveState(const std::string& profile) const;

    int ControlId() const { return m_nId; }
    BarDock Dock() const { return m_dock; }
    const SizingBarModel& Model() const { return m_model; }
    bool HasGripper() const { return m_bHasGripper; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    BarDock CurrentDock() const;
    void OnDockChanged();
    void ApplySize();
    // How much more room the main window's central area could give up.
    int FreeRoom() const;
    void EndResize();

    SizingBarModel m_model;
    QMainWindow* m_frame = nullptr;
    QWidget* m_edges = nullptr;
    BarDock m_dock = BarDock::Floating;
    int m_nId = 0;
    bool m_bHasGripper = false;
    bool m_bApplying = false;
    QPoint m_trackStart;
};

}  // namespace ui
