#pragma once
// A common dialog that returns false was either cancelled or could not run; only the second
// is an error worth raising.
#include <string>

// Raises EOSError naming the dialog when the last common dialog call failed for a reason
// other than the user's cancel.
void ThrowIfCommonDialogFailed(const std::string& dialogName);
