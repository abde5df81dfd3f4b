#include "platform/shared_memory.h"

#include "platform/runtime_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// The errno value that step raised as std::system_error; 0 when it raised nothing.
int ErrorOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::system_error& error) {
        return error.code().value();
    }
    return 0;
}

// Objects of their own per test, so that test programs can run side by side.
class SharedMappingTest : public testing::Test {
protected:
    SharedMappingTest() {
        static int counter = 0;
        FName = "vesk-shm-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    }
    ~SharedMappingTest() override { RemoveSharedMapping(FName); }

    std::string FName;
};

TEST_F(SharedMappingTest, CreateMakesAZeroedObjectOfTheSize) {
    TSharedMapping created(true, FName, 128);
    EXPECT_TRUE(created.Created());
    created.Map(128);
    ASSERT_NE(created.View(), nullptr);
    EXPECT_EQ(created.Size(), 128u);
    EXPECT_EQ(static_cast<unsigned char*>(created.View())[127], 0);
    EXPECT_EQ(ErrorOf([&] { created.Map(129); }), ENXIO);
}

TEST_F(SharedMappingTest, TheObjectIsAFileOfTheUsersAloneInTheRuntimeFolder) {
    TSharedMapping created(true, FName, 128);
    struct stat status;
    ASSERT_EQ(stat((RuntimeFolder() + "/" + FName).c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    EXPECT_EQ(status.st_size, 128);
}

TEST_F(SharedMappingTest, CreateOfAnExistingObjectOpensItAndKeepsItsSize) {
    TSharedMapping first(true, FName, 64);
    TSharedMapping second(true, FName, 128);
    EXPECT_FALSE(second.Created());
    EXPECT_EQ(ErrorOf([&] { second.Map(128); }), ENXIO);
    EXPECT_EQ(second.View(), nullptr);
    second.Map(64);
    EXPECT_NE(second.View(), nullptr);
}

TEST_F(SharedMappingTest, NothingToOpenOrCreateIsAnError) {
    EXPECT_EQ(ErrorOf([&] { TSharedMapping(false, FName, 16); }), ENOENT);
    EXPECT_EQ(ErrorOf([&] { TSharedMapping(true, FName, 0); }), EINVAL);
    EXPECT_EQ(ErrorOf([&] { TSharedMapping(false, FName, 16); }), ENOENT);
    for (const char* name : {"", ".", "..", "../ShareQuindel"})
        EXPECT_EQ(ErrorOf([&] { TSharedMapping(true, name, 16); }), EINVAL) << name;
    TSharedMapping created(true, FName, 16);
    EXPECT_EQ(ErrorOf([&] { created.Map(0); }), EINVAL);
}

TEST_F(SharedMappingTest, ViewsOfTwoOpeningsShareTheBytes) {
    TSharedMapping writer(true, FName, 128);
    TSharedMapping reader(false, FName, 128);
    writer.Map(128);
    reader.Map(128);
    static_cast<unsigned char*>(writer.View())[127] = 0x5A;
    EXPECT_EQ(static_cast<unsigned char*>(reader.View())[127], 0x5A);
}

TEST_F(SharedMappingTest, TheNameEndsAtItsFirstZeroCharacter) {
    TSharedMapping created(true, FName + std::string("\0rest", 5), 16);
    EXPECT_EQ(ErrorOf([&] { TSharedMapping(false, FName, 16); }), 0);
}

TEST_F(SharedMappingTest, TheDescriptorGoesWithTheMapping) {
    auto mapping = std::make_unique<TSharedMapping>(true, FName, 16);
    mapping->Map(16);
    const int descriptor = mapping->Descriptor();
    ASSERT_NE(fcntl(descriptor, F_GETFD), -1);
    EXPECT_NE(fcntl(descriptor, F_GETFD) & FD_CLOEXEC, 0) << "started programs inherit it";
    mapping.reset();
    EXPECT_EQ(fcntl(descriptor, F_GETFD), -1);
}

TEST_F(SharedMappingTest, ARemovedNameIsGoneWhileItsHolderKeepsTheBytes) {
    TSharedMapping holder(true, FName, 16);
    holder.Map(16);
    RemoveSharedMapping(FName);
    EXPECT_EQ(ErrorOf([&] { TSharedMapping(false, FName, 16); }), ENOENT);
    static_cast<unsigned char*>(holder.View())[15] = 1;
    EXPECT_EQ(static_cast<unsigned char*>(holder.View())[15], 1);
}

} // namespace
