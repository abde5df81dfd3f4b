#include "platform/shared_memory.h"

#include "platform/runtime_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// The object's file; a name that would lead out of the runtime folder names none.
std::string ObjectPath(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos)
        throw std::system_error(EINVAL, std::generic_category(), "shared memory name");
    return RuntimeFolder() + "/" + std::string(name);
}

} // namespace

// O_NONBLOCK keeps a FIFO or a device under the name from holding up the opening.
TSharedMapping::TSharedMapping(bool create, std::string_view name, size_t size) {
    const std::string path = ObjectPath(name);
    const int flags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    if (create && size == 0)
        Refuse(EINVAL, path);
    if (create) {
        FDescriptor = open(path.c_str(), flags | O_CREAT | O_EXCL, 0600);
        FCreated = FDescriptor >= 0;
        if (FCreated && ftruncate(FDescriptor, static_cast<off_t>(size)) != 0) {
            const int error = errno;
            unlink(path.c_str());
            Refuse(error, path);
        }
    }
    if (FDescriptor < 0 && (!create || errno == EEXIST))
        FDescriptor = open(path.c_str(), flags);
    struct stat status;
    if (FDescriptor < 0 || fstat(FDescriptor, &status) != 0)
        Refuse(errno, path);
    if (!S_ISREG(status.st_mode))
        Refuse(EINVAL, path + " is no regular file");
    if (status.st_uid != geteuid())
        Refuse(EPERM, path + " belongs to another user");
}

TSharedMapping::~TSharedMapping() {
    if (FView != nullptr)
        munmap(FView, FSize);
    close(FDescriptor);
}

// Closes what the constructor opened before it gives up, since no destructor runs then.
void TSharedMapping::Refuse(int error, const std::string& what) {
    if (FDescriptor >= 0)
        close(FDescriptor);
    throw std::system_error(error, std::generic_category(), what);
}

void TSharedMapping::Map(size_t size) {
    struct stat status;
    if (fstat(FDescriptor, &status) != 0)
        throw std::system_error(errno, std::generic_category(), "shared memory");
    if (size > static_cast<size_t>(status.st_size))
        throw std::system_error(ENXIO, std::generic_category(), "shared memory");
    void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, FDescriptor, 0);
    if (view == MAP_FAILED)
        throw std::system_error(errno, std::generic_category(), "shared memory");
    if (FView != nullptr)
        munmap(FView, FSize);
    FView = view;
    FSize = size;
}

void RemoveSharedMapping(std::string_view name) {
    try {
        unlink(ObjectPath(name).c_str());
    } catch (const std::system_error&) {
        // A name or a runtime folder that is refused holds no object of ours to remove.
    }
}
