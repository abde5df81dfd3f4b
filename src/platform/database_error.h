#pragma once

#include <stdexcept>

// A failure of the in-memory table or one of its fields; the message is the text the user sees.
class EDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
