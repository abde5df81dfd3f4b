// Arbitrary bytes as the exchange block the host left (the first 128 bytes, zeros after a shorter
// input) and the rows sent back into it (17 bytes each after the block: minimum, maximum, mark).
// The tool always reads an intake it can use, and a send writes the offered intake and the marked
// slots only, each limit within half a ten-thousandth of the row's value.

#include "fuzz_support.h"

#include "exchange/HostLink.h"
#include "model/Fixed.h"
#include "model/FloatError.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr size_t RowSize = 17;

std::optional<double> Limit(const uint8_t* at, bool present) {
    double value = 0;
    std::memcpy(&value, at, sizeof value);
    return present ? std::optional(value) : std::nullopt;
}

// The row encoded at `at`; the mark byte also says which limits are null.
TSendRow DecodeRow(const uint8_t* at) {
    const uint8_t mark = at[16];
    const std::optional<bool> enviar =
        (mark & 3) == 0 ? std::nullopt : std::optional((mark & 3) != 1);
    return {Limit(at, (mark & 4) == 0), Limit(at + 8, (mark & 8) == 0), enviar};
}

bool Near(int64_t count, double value) {
    return WithinHalfTenThousandth(TFixed{count}.ToReal(), value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::array<unsigned char, TSharedBlock::Size> bytes{};
    std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
    TSharedMemory shared{1, bytes.data(), 0, nullptr};
    Require(IsHostLinked(shared));
    const float offered = OfferedIntake(shared);
    Require(std::isfinite(offered) && offered != 0);

    const auto host = bytes;
    TSharedBlock block(bytes.data());
    THostSend send(shared, offered);
    Require(std::memcmp(bytes.data() + 4, &offered, sizeof offered) == 0);
    int slot = 0;
    for (size_t at = TSharedBlock::Size; slot < TSharedBlock::SlotCount && at + RowSize <= size;
         at += RowSize, ++slot) {
        const TSendRow row = DecodeRow(data + at);
        try {
            send.Row(row);
        } catch (const EInvalidOp&) {
            // A maximum beyond 64 bits stops the send after its minimum was written.
            ++slot;
            break;
        }
        if (row.Enviar.value_or(false)) {
            Require(Near(block.LimitMin(slot), row.Min.value_or(0)));
            Require(Near(block.LimitMax(slot), row.Max.value_or(0)));
        } else {
            const size_t slotAt = 16 + 16 * static_cast<size_t>(slot);
            Require(std::memcmp(bytes.data() + slotAt, host.data() + slotAt, 16) == 0);
        }
    }
    // The host's window, Ready and the slots after the last row sent stay as the host left them.
    Require(std::memcmp(bytes.data(), host.data(), 4) == 0);
    Require(std::memcmp(bytes.data() + 8, host.data() + 8, 8) == 0);
    const size_t untouched = 16 + 16 * static_cast<size_t>(slot);
    Require(std::memcmp(bytes.data() + untouched, host.data() + untouched,
                        bytes.size() - untouched) == 0);
    return 0;
}
