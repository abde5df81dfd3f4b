#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// Runs check in a child process without root's privileges, so that permission bits apply as
// they do to a desktop user; returns what check returned.
inline bool RunUnprivileged(const std::function<bool()>& check) {
    pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 2) << "could not drop privileges";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
