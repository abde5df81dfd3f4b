#pragma once

#include <string>

// A new folder of its own under the temporary directory, for the workbook files that the window
// hands to the desktop; they stay when the program ends, for the user to go on with. Raises
// EWorkbookError when it cannot be made.
std::string NewWorkbookFolder();
