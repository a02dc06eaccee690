#pragma once
// The window of a setup page: widgets named by their dialog ids, which show the states its
// model keeps (page_controls.h) and hand the operator's choices back to it. A page class lays
// out its widgets and connects their handlers; the rules stay in the model.

#include <QWidget>
#include <functional>
#include <string>

#include "platform/qt_text.h"

class QComboBox;
class QGroupBox;
class QLabel;

namespace setup {

class SetupPage;

class CSetupPropPage : public QWidget {
public:
    explicit CSetupPropPage(SetupPage& model, QWidget* parent = nullptr);

    SetupPage& Model() const { return m_model; }

    // Every control the model has a state for shows that state; a page with controls of its
    // own kind (date pickers) shows and takes those as well.
    virtual void ShowControls();
    // List selections, check marks and edited texts go into the model.
    virtual void TakeControls();

protected:
    // Widgets named by id, program text (Latin-1) in their captions.
    QLabel* NewText(int id);
    QGroupBox* NewGroup(const std::string& title, int id = 0);
    QComboBox* NewList(int id);
    // When the operator picks an entry of a list or clicks a button: the controls go into the
    // model, `rule` runs on it, and the controls show what it left.
    void OnChoice(QWidget* control, std::function<void()> rule);

private:
    SetupPage& m_model;
};

using platform::FromQt;
using platform::ToQt;

}  // namespace setup
