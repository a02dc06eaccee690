#pragma once
// The row that ends the maintenance windows: the step's button and "Annulla", named after the
// command ids that the windows' hooks answer, accepting and rejecting the dialog. Enter presses
// the step's button (nothing while it is disabled), never "Annulla".

#include <string>

class QBoxLayout;
class QDialog;

namespace maintenance {

void AddStepButtons(QDialog& dialog, QBoxLayout& layout, const std::string& stepText);

}  // namespace maintenance
