#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

// Stops the run with a crash that the fuzzer keeps and a replay reports.
inline void Require(bool holds) {
    if (!holds)
        __builtin_trap();
}

// Whether actual is expected rounded to four decimals: half of 0.0001 from the rounding, and the
// rounding of a long double near expected.
inline bool WithinHalfTenThousandth(long double actual, long double expected) {
    const long double error = actual > expected ? actual - expected : expected - actual;
    const long double magnitude = expected < 0 ? -expected : expected;
    return error <= 0.00005L * (1 + 1e-15L) + magnitude * 1e-18L;
}

inline std::string_view AsText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process for the files a target reads, made once in memory-backed storage when
// there is some, and removed when the process ends.
inline const std::filesystem::path& FuzzFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        pattern += "/vesk-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] { std::filesystem::remove_all(FuzzFolder()); });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

// Replaces the file at path with exactly the given bytes.
inline void WriteFuzzFile(const std::filesystem::path& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr);
    Require(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    Require(std::fclose(file) == 0);
}
