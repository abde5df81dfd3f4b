#include "platform/shared_memory.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

thread_local uint32_t FLastError = 0;

// The length of every live view, since munmap needs it and the platform's unmap takes none.
std::mutex FViewsLock;
std::map<const void*, size_t> FViews;

std::string ObjectName(std::string_view name) {
    std::string object(1, '/');
    object.append(name.substr(0, name.find('\0')));
    return object;
}

void SetError(int code) {
    FLastError = static_cast<uint32_t>(code);
}

THandle Opened(int descriptor) {
    if (descriptor < 0) {
        SetError(errno);
        return 0;
    }
    return static_cast<THandle>(descriptor) + 1;
}

int Descriptor(THandle handle) {
    return static_cast<int>(handle) - 1;
}

} // namespace

THandle CreateFileMappingA(uint32_t size, std::string_view name) {
    if (size == 0) {
        SetError(EINVAL);
        return 0;
    }
    const std::string object = ObjectName(name);
    const int created = shm_open(object.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (created >= 0) {
        if (ftruncate(created, size) != 0) {
            SetError(errno);
            close(created);
            shm_unlink(object.c_str());
            return 0;
        }
        SetError(0);
        return Opened(created);
    }
    if (errno != EEXIST)
        return Opened(-1);
    const THandle existing = Opened(shm_open(object.c_str(), O_RDWR, 0));
    if (existing != 0)
        SetError(EEXIST);
    return existing;
}

THandle OpenFileMappingA(std::string_view name) {
    const THandle handle = Opened(shm_open(ObjectName(name).c_str(), O_RDWR, 0));
    if (handle != 0)
        SetError(0);
    return handle;
}

void* MapViewOfFile(THandle handle, size_t bytes) {
    struct stat status;
    if (handle == 0 || fstat(Descriptor(handle), &status) != 0) {
        SetError(handle == 0 ? EBADF : errno);
        return nullptr;
    }
    if (bytes > static_cast<size_t>(status.st_size)) {
        SetError(ENXIO);
        return nullptr;
    }
    void* view = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, Descriptor(handle), 0);
    if (view == MAP_FAILED) {
        SetError(errno);
        return nullptr;
    }
    const std::lock_guard lock(FViewsLock);
    FViews[view] = bytes;
    return view;
}

bool UnmapViewOfFile(const void* view) {
    const std::lock_guard lock(FViewsLock);
    const auto found = FViews.find(view);
    if (found == FViews.end()) {
        SetError(EINVAL);
        return false;
    }
    if (munmap(const_cast<void*>(view), found->second) != 0) {
        SetError(errno);
        return false;
    }
    FViews.erase(found);
    return true;
}

bool CloseHandle(THandle handle) {
    if (handle == 0 || close(Descriptor(handle)) != 0) {
        SetError(handle == 0 ? EBADF : errno);
        return false;
    }
    return true;
}

uint32_t GetLastError() {
    return FLastError;
}

bool DeleteFileMapping(std::string_view name) {
    if (shm_unlink(ObjectName(name).c_str()) != 0) {
        SetError(errno);
        return false;
    }
    return true;
}
