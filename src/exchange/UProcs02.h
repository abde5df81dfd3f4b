#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/shared_memory.h"

// A handle of an opened object: its file descriptor + 1; 0 is no handle.
using THandle = uint32_t;

// A named shared-memory object as OpenSharedMemory leaves it.
struct TSharedMemory {
    // The object; 0 when it was neither opened nor created.
    THandle Handle = 0;
    // The start of the mapped view; null when no view was mapped.
    void* View = nullptr;
    // The error code of the attempt when there was one (EEXIST for a create that found the
    // object), otherwise the size.
    int32_t ErrorCode = 0;
    // Holds the object and its view for as long as Handle and View are used; resetting it
    // releases both.
    std::unique_ptr<TSharedMapping> Mapping;
};

// Creates (create true) or opens (create false) the object and maps its first size bytes. Only
// the first 20 characters of name are used and no zero character is added: a caller whose name
// must end in one passes it ("ShareQuindel\0", 13 characters).
TSharedMemory OpenSharedMemory(bool create, std::string_view name, int32_t size);

// The 128-byte exchange block at the start of the host's object, little-endian, read and written
// in place without alignment assumptions. The limits are counts of ten-thousandths.
class TSharedBlock {
public:
    static constexpr int32_t Size = 128;
    static constexpr int SlotCount = 7;

    // view: at least Size mapped bytes.
    explicit TSharedBlock(void* view) : FBytes(static_cast<unsigned char*>(view)) {}

    uint32_t HostWindow() const;
    void SetHostWindow(uint32_t window);
    float ConsumoOfrecido() const;
    void SetConsumoOfrecido(float consumo);
    // Ready is read and written as the last step of its side: the writes before setting it are
    // visible to a reader that has seen it set.
    uint8_t Ready() const;
    void SetReady(uint8_t ready);
    // slot from 0 to SlotCount - 1; another raises std::out_of_range.
    int64_t LimitMin(int slot) const;
    void SetLimitMin(int slot, int64_t count);
    int64_t LimitMax(int slot) const;
    void SetLimitMax(int slot, int64_t count);

private:
    unsigned char* FBytes;
};
