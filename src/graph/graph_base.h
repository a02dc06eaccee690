#pragma once
// The interface of every window of a graph that takes part in its context menu, its commands
// and its property sheet, and the walk that offers a call to each such window from a starting
// window up to the top. The walk reaches the graph window last among the graph's parts.

#include <functional>
#include <string>

class QAction;
class QMenu;
class QWidget;

namespace graph {

class CGraphWnd;

// The property sheet that the graph's parts add their pages to.
class GraphPropertySheet {
public:
    virtual ~GraphPropertySheet() = default;
    virtual void AddPage(QWidget* page, const std::string& title) = 0;
};

class CGraphBaseClass {
public:
    virtual ~CGraphBaseClass() = default;
    virtual void AddContextMenuItems(QMenu& /*menu*/) {}
    virtual void OnMenuCommand(int /*id*/) {}
    virtual void AddPropertyPages(GraphPropertySheet& /*sheet*/) {}
    // `result` is the sheet's modal result (1 = OK).
    virtual void ApplyProperties(int /*result*/) {}
};

// The command ids that the graph's parts offer one another.
constexpr int kFirstGraphCommand = 4097;
constexpr int kLastGraphCommand = 4114;

// Appends a command to a graph's context menu, its id as the action's data. `check`: -1 no
// check mark, else unchecked (0) or checked.
QAction* AddMenuCommand(QMenu& menu, const std::string& text, int id, int check = -1,
                        bool enabled = true);

// The graph window that `start` is part of, or nullptr outside a graph.
CGraphWnd* FindGraphParent(const QWidget* start);

// Calls `visit` on every graph part from `start` up through its parents until one answers
// non-zero; returns that answer, or 0 at the top.
int FindInParents(QWidget* start, const std::function<int(CGraphBaseClass&)>& visit);

// The four calls, offered to every part from `start` up.
void AddContextMenuItemsUpwards(QWidget* start, QMenu& menu);
void OnMenuCommandUpwards(QWidget* start, int id);
void AddPropertyPagesUpwards(QWidget* start, GraphPropertySheet& sheet);
void ApplyPropertiesUpwards(QWidget* start, int result);

}  // namespace graph
