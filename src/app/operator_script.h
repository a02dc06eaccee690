#pragma once
// The answers of an unattended run (KX9_OPERATOR_SCRIPT=<file>), one rule a line:
//
//   box <OK|CANCEL|YES|NO> <text part>           every box whose text holds the part
//   dialog <Name> <OK|CANCEL> [field=value]...   every showing of the dialog
//
// "\n" in a text part stands for a line break; blank lines and lines starting with '#' are
// skipped. The fields a dialog takes:
//   CSetHystogramRange (the login): code, password, authorised (0 or 1)
//   CSetLabelDlg (a technician code or calibrator serial number): text
// A dialog with fields answered OK goes through its own OK check, as the button would; when
// the check refuses, the dialog is cancelled (nobody could type again).

#include <string>

#include "platform/scripted_operator.h"

// Adds the script's rules to `op`, in the order of the lines. False, with `error` naming the
// line, when the file cannot be read or a line is not understood.
bool LoadOperatorScript(const std::string& path, platform::ScriptedOperator& op,
                        std::string& error);
// The same for the script's text.
bool ParseOperatorScript(const std::string& text, platform::ScriptedOperator& op,
                         std::string& error);
