#pragma once
// The row that ends the maintenance windows: the step's button and "Annulla", named after the
// command ids that the windows' hooks answer, accepting and rejecting the dialog.

#include <string>

class QBoxLayout;
class QDialog;

namespace maintenance {

void AddStepButtons(QDialog& dialog, QBoxLayout& layout, const std::string& stepText);

}  // namespace maintenance
