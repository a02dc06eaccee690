#pragma once
// The graph's modal dialogs, run through the operator like every dialog of the program: the
// "Properties" sheet its parts add their pages to, the context menu the right button opens,
// the "Title" prompt, the colour chooser and the label entry. Each keeps its fields as plain
// members, so that a script can answer it.

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "graph/graph_base.h"
#include "platform/operator.h"
#include "platform/qt_text.h"
#include "platform/win_types.h"

class QMenu;

namespace graph {

using platform::FromQt;
using platform::ToQt;
// Controls are named by their dialog ids.
QString IdName(int id);

// A page of the "Properties" sheet: its fields are members; its controls show them.
class CPropertyPage : public QWidget {
public:
    using QWidget::QWidget;
    // save: the controls into the fields (false keeps the sheet open); else the fields into
    // the controls.
    virtual bool UpdateData(bool save) = 0;
};

// "Properties": the pages of every part of the graph from the window that asked upwards.
// The parts own their pages; the sheet shows them while it runs.
class CGraphPropertySheet : public platform::ModalDialog, public GraphPropertySheet {
public:
    struct Page {
        QPointer<QWidget> widget;
        std::string title;
    };

    explicit CGraphPropertySheet(std::string caption = "Properties")
        : m_caption(std::move(caption)) {}

    void AddPage(QWidget* page, const std::string& title) override;
    const std::vector<Page>& Pages() const { return m_pages; }
    // The first page of that type, for scripts.
    template <typename T>
    T* FindPage() const {
        for (const Page& page : m_pages)
            if (auto* found = dynamic_cast<T*>(page.widget.data()))
                return found;
        return nullptr;
    }

    std::string DialogName() const override { return "CGraphPropertySheet"; }
    int RunOnScreen() override;

private:
    std::string m_caption;
    std::vector<Page> m_pages;
};

// Builds the sheet from `start` upwards, runs it, lets every part apply or drop its pages and,
// on OK, redraws the whole graph. Nothing more happens when `start` went during the sheet.
// `first`, a part that the walk from `start` does not pass (the panel, for a sheet opened
// from the point list), gives its pages before the others and applies them first.
void RunPropertySheet(QWidget* start, QWidget* first = nullptr);

// The context menu of a graph's window: every part from the clicked window upwards adds its
// items. The answer is the chosen command id, 0 for none.
class GraphContextMenu : public platform::ModalDialog {
public:
    GraphContextMenu(QWidget* clicked, QPoint globalPosition);
    ~GraphContextMenu() override;

    QMenu& Menu() const { return *m_menu; }
    std::string DialogName() const override { return "GraphContextMenu"; }
    int RunOnScreen() override;

private:
    std::unique_ptr<QMenu> m_menu;
    QPoint m_position;
};

// Opens the context menu at `globalPosition` and offers the chosen command to every part from
// the clicked window upwards.
void ShowGraphContextMenu(QWidget* clicked, QPoint globalPosition);

// "Title": one text (edit 1006).
class CGraphTitlePrompt : public platform::ModalDialog {
public:
    explicit CGraphTitlePrompt(std::string title = {}) : m_strTitle(std::move(title)) {}
    std::string DialogName() const override { return "CGraphTitlePrompt"; }
    int RunOnScreen() override;

    std::string m_strTitle;
};

// The colour chooser, starting at a colour.
class CColorDialog : public platform::ModalDialog {
public:
    explicit CColorDialog(COLORREF colour = 0) : m_color(colour) {}
    std::string DialogName() const override { return "CColorDialog"; }
    int RunOnScreen() override;

    COLORREF m_color;
};

// The label entry of the graph's "Insert Label": the label's text and a second text, whose
// presence asks for the audio-label window.
class CGraphLabelDlg : public platform::ModalDialog {
public:
    std::string DialogName() const override { return "CGraphLabelDlg"; }
    int RunOnScreen() override;

    std::string m_strLabel;
    std::string m_strAudioLabel;
};

}  // namespace graph
