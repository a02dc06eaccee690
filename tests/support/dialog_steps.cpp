#include "support/dialog_steps.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace testenv {

void WhenDialogShown(std::function<void(QDialog&)> steps) {
    QTimer::singleShot(0, [steps = std::move(steps)] {
        const QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog on screen for the test's steps";
            return;
        }
        steps(*dialog);
        if (!dialog || !dialog->isVisible())
            return;
        ADD_FAILURE() << "the dialog \"" << dialog->windowTitle().toStdString()
                      << "\" was still open after the test's steps";
        // The base class's close: a dialog of the program's may refuse its own.
        dialog->QDialog::done(QDialog::Rejected);
    });
}

}  // namespace testenv
