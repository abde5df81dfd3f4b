#include "platform/shared_memory.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string ObjectName(std::string_view name) {
    std::string object(1, '/');
    return object.append(name.substr(0, name.find('\0')));
}

[[noreturn]] void Fail(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

} // namespace

TSharedMapping::TSharedMapping(bool create, std::string_view name, size_t size) {
    const std::string object = ObjectName(name);
    if (create && size == 0)
        Fail(EINVAL, object);
    if (create) {
        FDescriptor = shm_open(object.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        FCreated = FDescriptor >= 0;
        if (FCreated && ftruncate(FDescriptor, static_cast<off_t>(size)) != 0) {
            const int error = errno;
            close(FDescriptor);
            shm_unlink(object.c_str());
            Fail(error, object);
        }
    }
    if (FDescriptor < 0 && (!create || errno == EEXIST))
        FDescriptor = shm_open(object.c_str(), O_RDWR, 0);
    if (FDescriptor < 0)
        Fail(errno, object);
}

TSharedMapping::~TSharedMapping() {
    if (FView != nullptr)
        munmap(FView, FSize);
    close(FDescriptor);
}

void TSharedMapping::Map(size_t size) {
    struct stat status;
    if (fstat(FDescriptor, &status) != 0)
        Fail(errno, "shared memory");
    if (size > static_cast<size_t>(status.st_size))
        Fail(ENXIO, "shared memory");
    void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, FDescriptor, 0);
    if (view == MAP_FAILED)
        Fail(errno, "shared memory");
    if (FView != nullptr)
        munmap(FView, FSize);
    FView = view;
    FSize = size;
}

void RemoveSharedMapping(std::string_view name) {
    shm_unlink(ObjectName(name).c_str());
}
