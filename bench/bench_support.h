#pragma once

#include "exchange/ModelFile.h"
#include "model/UVesk.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// Animal i of the benchmarks' herds: the three states in turn, weights, milk and gains varied.
// Days in milk start at 7, since fewer than 7 fail the lactating cow's calculation.
inline TVeskDairy VariedAnimal(int i) {
    TVeskDairy animal;
    animal.Tipo = static_cast<uint8_t>(i % 3);
    animal.Consumo = 6.0f + float(i % 170) / 10;
    animal.Peso = float(animal.Tipo == tpVaquilla ? 200 + i % 300 : 400 + i % 300);
    animal.Lactacion = i % 3;
    animal.Leche = float(i % 45);
    animal.Grasa = 2.5f + float(i % 25) / 10;
    animal.Proteina = 2.8f + float(i % 12) / 10;
    animal.DIM = 7 + i % 46;
    animal.Temperatura = float(i % 60 - 20);
    animal.GDP = float(i % 10) / 10;
    animal.ADG = 0.4f + float(i % 8) / 10;
    animal.Freshenning = i % 90;
    return animal;
}

// Runs the program with the arguments, its output to /dev/null; its exit status or -1. Its peak
// resident memory in kilobytes goes to peakKilobytes when given.
inline int RunQuiet(const std::vector<std::string>& arguments, long* peakKilobytes = nullptr) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (error != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)) {
        return -1;
    }
    if (peakKilobytes) {
        *peakKilobytes = usage.ru_maxrss;
    }
    return WEXITSTATUS(status);
}

// A new folder under the temporary directory for a benchmark's input files, removed with them at
// the end; Path() is empty when it could not be made.
class TBenchFolder {
public:
    explicit TBenchFolder(const std::string& prefix) {
        std::string folder = (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX"));
        if (mkdtemp(folder.data())) {
            FPath = folder;
        }
    }
    ~TBenchFolder() {
        if (!FPath.empty()) {
            std::filesystem::remove_all(FPath);
        }
    }
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;

    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};
