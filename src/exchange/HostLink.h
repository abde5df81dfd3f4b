#pragma once

#include <optional>
#include <string_view>

#include "exchange/UProcs02.h"

// The link with the host formulation program: the object the host creates before it starts the
// tool, and the message the tool posts to the host's window once the restrictions are written.
inline constexpr std::string_view HostShareName{"ShareQuindel\0", 13};
// 1024, the first message number left to applications, + 3014.
inline constexpr uint32_t HostReadyMessage = 4038;
inline constexpr uint32_t HostReadyWParam = 4;
inline constexpr uint32_t HostReadyLParam = 0;

// Opens the host's object in open mode with a view of the whole exchange block.
TSharedMemory OpenHostLink();
// Whether the link can be used: an object that opened but could not be mapped (one smaller than
// the block, say) is never read or written through, and the tool runs stand-alone.
bool IsHostLinked(const TSharedMemory& shared);
// The offered intake of a usable link's block, bit for bit; 10 when the host offers 0 or a value
// that is not finite (NaN, an infinity), which no intake can be.
float OfferedIntake(const TSharedMemory& shared);

// One row of the restrictions table as it is sent; a null field is an empty value.
struct TSendRow {
    std::optional<double> Min;
    std::optional<double> Max;
    std::optional<bool> Enviar;
};

// One send of the restrictions to the host, in the protocol's order: the offered intake, the
// slots row by row, Ready, the ready message, the release of the link. A failure stops it where
// it arose, leaving what was written and the link open.
class THostSend {
public:
    // Writes the offered intake into the block. The link must be usable (IsHostLinked).
    THostSend(TSharedMemory& shared, float consumo);
    // Writes the next slot from row when the row is marked for sending (a null mark counts as
    // false; a null limit gives 0); a row not marked leaves its slot as the host put it. A limit
    // whose count of ten-thousandths does not fit 64 bits raises EInvalidOp. Rows beyond the
    // block's seven slots raise std::out_of_range.
    void Row(const TSendRow& row);
    // Sets Ready, posts the ready message to the window that the block names at this moment,
    // without looking at the result, and releases the view and the handle.
    void Finish();

private:
    TSharedMemory& FShared;
    int FSlot = 0;
};
