#pragma once

#include <functional>

// The program: the application object, the main window created and shown with its first
// estimate, the model file named by the one argument loaded as the open dialog loads it, then the
// message loop until the window closes. shown runs once the window is shown and the file loaded,
// before the loop starts. Any other command line is refused with the usage on standard error and
// gives 2 before any window opens.
int RunVesk(int argc, char** argv, const std::function<void()>& shown = {});
