#pragma once

#include "platform/database_error.h"

#include <functional>
#include <string>

// The message of the EDatabaseError that action throws, or "" when it throws none.
inline std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EDatabaseError& error) {
        return error.what();
    }
    return "";
}
