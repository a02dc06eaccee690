#pragma once
// Steps a test takes on a modal dialog once it is on screen (the test then runs the dialog,
// QDialog::exec). Whatever the steps do, exec() comes back at once: steps that leave the dialog
// open, an ASSERT that ended them early among them, fail the test and close it, so that a
// failure never waits for ctest's time-out with the dialog open.

#include <functional>

class QDialog;

namespace testenv {

// Runs `steps` on the active modal dialog as soon as the event loop turns.
void WhenDialogShown(std::function<void(QDialog&)> steps);

}  // namespace testenv
