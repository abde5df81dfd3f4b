#include "platform/shared_memory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// Objects of their own per test, so that test programs can run side by side.
class SharedMemoryTest : public testing::Test {
protected:
    SharedMemoryTest() {
        static int counter = 0;
        FName = "vesk-shm-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    }
    ~SharedMemoryTest() override { DeleteFileMapping(FName); }

    std::string FName;
};

TEST_F(SharedMemoryTest, CreateMakesANewObjectWithoutError) {
    const THandle handle = CreateFileMappingA(128, FName);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_TRUE(CloseHandle(handle));
}

TEST_F(SharedMemoryTest, CreateOfAnExistingObjectOpensItWithAlreadyExistsAndKeepsItsSize) {
    const THandle first = CreateFileMappingA(64, FName);
    ASSERT_NE(first, 0u);
    const THandle second = CreateFileMappingA(128, FName);
    ASSERT_NE(second, 0u);
    EXPECT_EQ(GetLastError(), static_cast<uint32_t>(EEXIST));
    EXPECT_EQ(MapViewOfFile(second, 128), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<uint32_t>(ENXIO));
    CloseHandle(first);
    CloseHandle(second);
}

TEST_F(SharedMemoryTest, CreateWithoutSizeFails) {
    EXPECT_EQ(CreateFileMappingA(0, FName), 0u);
    EXPECT_EQ(GetLastError(), static_cast<uint32_t>(EINVAL));
    EXPECT_EQ(OpenFileMappingA(FName), 0u);
}

TEST_F(SharedMemoryTest, OpenOfAMissingObjectFailsWithNotFound) {
    EXPECT_EQ(OpenFileMappingA(FName), 0u);
    EXPECT_EQ(GetLastError(), static_cast<uint32_t>(ENOENT));
}

TEST_F(SharedMemoryTest, ViewsOfTwoHandlesShareTheBytes) {
    const THandle created = CreateFileMappingA(128, FName);
    const THandle opened = OpenFileMappingA(FName);
    ASSERT_NE(opened, 0u);
    EXPECT_EQ(GetLastError(), 0u);
    auto* writer = static_cast<unsigned char*>(MapViewOfFile(created, 128));
    auto* reader = static_cast<unsigned char*>(MapViewOfFile(opened, 128));
    ASSERT_NE(writer, nullptr);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader[127], 0) << "a new object starts zeroed";
    writer[127] = 0x5A;
    EXPECT_EQ(reader[127], 0x5A);
    EXPECT_TRUE(UnmapViewOfFile(writer));
    EXPECT_TRUE(UnmapViewOfFile(reader));
    CloseHandle(created);
    CloseHandle(opened);
}

TEST_F(SharedMemoryTest, TheNameEndsAtItsFirstZeroCharacter) {
    const THandle created = CreateFileMappingA(16, FName + std::string("\0rest", 5));
    ASSERT_NE(created, 0u);
    const THandle opened = OpenFileMappingA(FName);
    EXPECT_NE(opened, 0u);
    CloseHandle(created);
    CloseHandle(opened);
}

TEST_F(SharedMemoryTest, MapsUpToTheObjectsSizeAndNoMore) {
    const THandle handle = CreateFileMappingA(100, FName);
    void* whole = MapViewOfFile(handle, 100);
    EXPECT_NE(whole, nullptr);
    EXPECT_EQ(MapViewOfFile(handle, 101), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<uint32_t>(ENXIO));
    EXPECT_EQ(MapViewOfFile(handle, 0), nullptr);
    UnmapViewOfFile(whole);
    CloseHandle(handle);
}

TEST_F(SharedMemoryTest, MappingKeepsTheLastErrorOfTheOpening) {
    const THandle first = CreateFileMappingA(16, FName);
    const THandle second = CreateFileMappingA(16, FName);
    void* view = MapViewOfFile(second, 16);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<uint32_t>(EEXIST));
    UnmapViewOfFile(view);
    CloseHandle(first);
    CloseHandle(second);
}

TEST_F(SharedMemoryTest, ViewOutlivesItsHandleAndIsReleasedOnce) {
    const THandle handle = CreateFileMappingA(16, FName);
    auto* view = static_cast<unsigned char*>(MapViewOfFile(handle, 16));
    ASSERT_TRUE(CloseHandle(handle));
    view[15] = 1;
    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_FALSE(UnmapViewOfFile(view));
    EXPECT_EQ(GetLastError(), static_cast<uint32_t>(EINVAL));
}

TEST_F(SharedMemoryTest, NoHandleIsRefused) {
    EXPECT_EQ(MapViewOfFile(0, 16), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<uint32_t>(EBADF));
    EXPECT_FALSE(CloseHandle(0));
    EXPECT_FALSE(UnmapViewOfFile(nullptr));
}

TEST_F(SharedMemoryTest, DeletedNameCanNoLongerBeOpened) {
    const THandle handle = CreateFileMappingA(16, FName);
    EXPECT_TRUE(DeleteFileMapping(FName));
    EXPECT_EQ(OpenFileMappingA(FName), 0u);
    EXPECT_FALSE(DeleteFileMapping(FName));
    EXPECT_EQ(GetLastError(), static_cast<uint32_t>(ENOENT));
    CloseHandle(handle);
}

TEST_F(SharedMemoryTest, LastErrorBelongsToTheCallingThread) {
    CloseHandle(CreateFileMappingA(16, FName));
    ASSERT_EQ(GetLastError(), 0u);
    uint32_t other = 0;
    std::thread([&] {
        OpenFileMappingA(FName + "-missing");
        other = GetLastError();
    }).join();
    EXPECT_EQ(other, static_cast<uint32_t>(ENOENT));
    EXPECT_EQ(GetLastError(), 0u);
}

} // namespace
