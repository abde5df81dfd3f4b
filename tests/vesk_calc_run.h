#pragma once

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

// What one run of the built vesk-calc printed on each stream, and how it ended.
struct TRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the built program in a folder of the test and takes apart what it printed on each stream.
class VeskCalcRunTest : public testing::Test {
protected:
    // input feeds standard input; output, when given, takes standard output instead of the run.
    TRun Run(const std::vector<std::string>& arguments, const std::string& input = "/dev/null",
             const std::string& output = "") {
        std::string command = ShellQuoted(VESK_BINARY_DIR "/vesk-calc");
        for (const std::string& argument : arguments) {
            command += ' ';
            command += ShellQuoted(argument);
        }
        const std::string out = output.empty() ? FFolder.Path() + "/out" : output;
        const std::string err = FFolder.Path() + "/err";
        command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + " <" + ShellQuoted(input);
        const int status = std::system(command.c_str());
        TRun run;
        run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = output.empty() ? FileContents(out) : "";
        run.Err = FileContents(err);
        return run;
    }

    // A file of the test's folder holding the bytes; its path.
    std::string File(const std::string& name, const std::string& bytes) {
        const std::string path = FFolder.Path() + "/" + name;
        StoreFile(path, bytes);
        return path;
    }

    std::string ModelFile(const std::string& name, const std::string& data) {
        return File(name, "[Data]\r\n" + data);
    }

    TTempFolder FFolder{"vesk_calc"};
};
