#include "exchange/UProcs02.h"

#include <atomic>
#include <bit>
#include <cstring>
#include <stdexcept>

static_assert(std::endian::native == std::endian::little,
              "the exchange block is little-endian and copied as it stands in memory");

TSharedMemory OpenSharedMemory(bool create, std::string_view name, int32_t size) {
    const std::string_view used = name.substr(0, 20);
    TSharedMemory result;
    result.ErrorCode = size;
    result.Handle =
        create ? CreateFileMappingA(static_cast<uint32_t>(size), used) : OpenFileMappingA(used);
    const uint32_t opening = GetLastError();
    if (result.Handle != 0)
        result.View = MapViewOfFile(result.Handle, static_cast<uint32_t>(size));
    else
        result.ErrorCode = static_cast<int32_t>(opening);
    if (const uint32_t last = GetLastError(); last != 0)
        result.ErrorCode = static_cast<int32_t>(last);
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
