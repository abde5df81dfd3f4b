#pragma once

#include <functional>

// The program: the application object, the main window created and shown with its first
// estimate, then the message loop until the window closes. shown runs once the window is shown,
// before the loop starts.
int RunVesk(int& argc, char** argv, const std::function<void()>& shown = {});
