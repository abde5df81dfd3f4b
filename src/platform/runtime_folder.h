#pragma once

#include <string>

// The user's runtime folder, where the names that the programs of one user share live (the host
// exchange's object and window sockets): $XDG_RUNTIME_DIR, or, when that is unset, "runtime-"
// + the user's name in the temporary folder ($TMPDIR, or /tmp), created with mode 0700 as Qt
// does. Raises std::system_error when the folder is missing (ENOENT), is no folder (ENOTDIR),
// belongs to another user (EPERM) or is open to others (EACCES): another user could put names
// there or read them.
std::string RuntimeFolder();
