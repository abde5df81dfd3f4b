#pragma once

#include "exchange/HostLink.h"

// Seven table rows covering what a send must handle: rows marked, not marked and with a null
// mark; null limits; four-decimal, negative and large amounts.
inline const TSendRow HostSendRows[TSharedBlock::SlotCount] = {
    {0.0025, 0.004, true},          {1.5, 2.5, false},        {0.28, std::nullopt, true},
    {std::nullopt, 0.01, true},     {0.3, 0.5, std::nullopt}, {-1.25, 0.0001, true},
    {12345.6789, 99999.9999, true},
};
