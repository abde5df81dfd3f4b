#include "exchange/UProcs02.h"

#include <atomic>
#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

static_assert(std::endian::native == std::endian::little,
              "the exchange block is little-endian and copied as it stands in memory");

// An object that opens but cannot be mapped keeps its handle without a view, as the platform's
// two steps leave it.
TSharedMemory OpenSharedMemory(bool create, std::string_view name, int32_t size) {
    TSharedMemory result;
    result.ErrorCode = size;
    try {
        if (size < 0)
            throw std::system_error(EINVAL, std::generic_category(), "shared memory size");
        result.Mapping =
            std::make_unique<TSharedMapping>(create, name.substr(0, 20), static_cast<size_t>(size));
        result.Handle = static_cast<THandle>(result.Mapping->Descriptor()) + 1;
        if (create && !result.Mapping->Created())
            result.ErrorCode = EEXIST;
        result.Mapping->Map(static_cast<size_t>(size));
        result.View = result.Mapping->View();
    } catch (const std::system_error& error) {
        result.ErrorCode = error.code().value();
    }
    return result;
}

namespace {

constexpr size_t HostWindowAt = 0;
constexpr size_t ConsumoOfrecidoAt = 4;
constexpr size_t ReadyAt = 8;
constexpr size_t LimitsAt = 16;
constexpr size_t LimitSize = 16;
constexpr size_t MaxInLimit = 8;

template <typename T> T Load(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T> void Store(unsigned char* at, T value) {
    std::memcpy(at, &value, sizeof value);
}

size_t SlotAt(int slot) {
    if (slot < 0 || slot >= TSharedBlock::SlotCount)
        throw std::out_of_range("exchange block slot out of range");
    return LimitsAt + LimitSize * static_cast<size_t>(slot);
}

} // namespace

uint32_t TSharedBlock::HostWindow() const {
    return Load<uint32_t>(FBytes + HostWindowAt);
}

void TSharedBlock::SetHostWindow(uint32_t window) {
    Store(FBytes + HostWindowAt, window);
}

float TSharedBlock::ConsumoOfrecido() const {
    return Load<float>(FBytes + ConsumoOfrecidoAt);
}

void TSharedBlock::SetConsumoOfrecido(float consumo) {
    Store(FBytes + ConsumoOfrecidoAt, consumo);
}

uint8_t TSharedBlock::Ready() const {
    return std::atomic_ref(FBytes[ReadyAt]).load(std::memory_order_acquire);
}

void TSharedBlock::SetReady(uint8_t ready) {
    std::atomic_ref(FBytes[ReadyAt]).store(ready, std::memory_order_release);
}

int64_t TSharedBlock::LimitMin(int slot) const {
    return Load<int64_t>(FBytes + SlotAt(slot));
}

void TSharedBlock::SetLimitMin(int slot, int64_t count) {
    Store(FBytes + SlotAt(slot), count);
}

int64_t TSharedBlock::LimitMax(int slot) const {
    return Load<int64_t>(FBytes + SlotAt(slot) + MaxInLimit);
}

void TSharedBlock::SetLimitMax(int slot, int64_t count) {
    Store(FBytes + SlotAt(slot) + MaxInLimit, count);
}
