#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A named shared-memory object opened for reading and writing, with its view mapped shared. The
// object is the regular file of that name (up to its first zero character) in the user's runtime
// folder. It owns the descriptor and the view and releases both when it goes; failures raise
// std::system_error with the errno value.
class TSharedMapping {
public:
    // Opens the object, or with create makes it first with size bytes and mode 0600 when there is
    // none (Created() tells which). Only a regular file of the user's own is opened, never through
    // a symlink; ENOENT when there is none, EINVAL to create one of 0 bytes, and a refused
    // runtime folder raises what RuntimeFolder does.
    TSharedMapping(bool create, std::string_view name, size_t size);
    ~TSharedMapping();
    TSharedMapping(const TSharedMapping&) = delete;
    TSharedMapping& operator=(const TSharedMapping&) = delete;

    // Maps the object's first size bytes in place of any earlier view. ENXIO when it holds
    // fewer, since touching pages past its end would kill the process.
    void Map(size_t size);

    int Descriptor() const { return FDescriptor; }
    bool Created() const { return FCreated; }
    // The start of the view, null until it is mapped, and its size.
    void* View() const { return FView; }
    size_t Size() const { return FSize; }

private:
    [[noreturn]] void Refuse(int error, const std::string& what);

    int FDescriptor = -1;
    bool FCreated = false;
    void* FView = nullptr;
    size_t FSize = 0;
};

// Removes the name of an object, as its creating host does when it is done; programs that hold
// it keep it until they let it go.
void RemoveSharedMapping(std::string_view name);
