#pragma once
// Where the tests that show windows save their screenshots: $QUORREL_SCREENSHOTS as a Windows
// path ending in a backslash (made when missing), or empty when the variable is not set.
#include <string>

std::string ScreenshotFolder();
