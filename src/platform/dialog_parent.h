#pragma once
// The owner of a box, file chooser or dialog that the program runs on the stack.
//
// A window takes its child windows with it, and a box is a child of its owner: an owner that
// went while the box was open would free the box under its own run. Modeless windows come and
// go inside a box's loop (a reply or a timer handled there destroys them), and so may the main
// window (the exit), so none of them owns a box. The modal dialog on top does: it is run further
// down the stack, so it ends only after every box opened over it has closed. With no modal
// dialog up, a box has no owner; it is application-modal all the same.

class QWidget;

namespace platform {

// The modal dialog on top, or nullptr.
QWidget* DialogParent();

}  // namespace platform
