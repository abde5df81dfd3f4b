#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Named shared memory with the contract of the desktop platform the system was written for,
// backed by POSIX shared-memory objects. A name stands for the object "/" + the name up to its
// first zero character. Every call records its outcome in the calling thread's last error code
// (an errno value; 0 after a plain success).

// A handle of an opened object: the file descriptor + 1; 0 is no handle.
using THandle = uint32_t;

// Creates the object with size bytes, read/write, or opens it when it already exists (its size
// is then left as it is and the last error code is EEXIST). Returns 0 on failure.
THandle CreateFileMappingA(uint32_t size, std::string_view name);
// Opens an existing object for reading and writing; 0 (last error ENOENT) when there is none.
// The handle is not inherited by started programs.
THandle OpenFileMappingA(std::string_view name);
// Maps the first bytes bytes of the object, shared and read/write. Mapping more bytes than the
// object holds fails with ENXIO, since touching pages past its end would kill the process.
// Returns null on failure; a success leaves the last error code as it was.
void* MapViewOfFile(THandle handle, size_t bytes);
// Releases a view returned by MapViewOfFile. Returns false (EINVAL) for any other address.
bool UnmapViewOfFile(const void* view);
// Closes a handle; a mapped view stays valid until it is unmapped.
bool CloseHandle(THandle handle);
// The calling thread's last error code.
uint32_t GetLastError();

// Removes the name of an object, as its creating host does when it is done; programs that hold
// it keep it until they close it. Returns false (with the last error code) when that fails.
bool DeleteFileMapping(std::string_view name);
