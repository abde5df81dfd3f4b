#include "exchange/HostLink.h"

#include <cmath>
#include <stdexcept>

#include "model/Fixed.h"
#include "platform/window_message.h"

TSharedMemory OpenHostLink() {
    return OpenSharedMemory(false, HostShareName, TSharedBlock::Size);
}

bool IsHostLinked(const TSharedMemory& shared) {
    return shared.Handle != 0 && shared.View != nullptr;
}

float OfferedIntake(const TSharedMemory& shared) {
    const float offered = TSharedBlock(shared.View).ConsumoOfrecido();
    return offered == 0 || !std::isfinite(offered) ? 10 : offered;
}

THostSend::THostSend(TSharedMemory& shared, float consumo) : FShared(shared) {
    if (!IsHostLinked(FShared))
        throw std::logic_error("the host link is not open");
    TSharedBlock(FShared.View).SetConsumoOfrecido(consumo);
}

void THostSend::Row(const TSendRow& row) {
    if (FSlot == TSharedBlock::SlotCount)
        throw std::out_of_range("the exchange block has no slot for another row");
    const int slot = FSlot++;
    if (!row.Enviar.value_or(false))
        return;
    TSharedBlock block(FShared.View);
    block.SetLimitMin(slot, TFixed::FromReal(row.Min.value_or(0)).Count);
    block.SetLimitMax(slot, TFixed::FromReal(row.Max.value_or(0)).Count);
}

void THostSend::Finish() {
    TSharedBlock block(FShared.View);
    block.SetReady(1);
    PostMessageA(block.HostWindow(), HostReadyMessage, HostReadyWParam, HostReadyLParam);
    FShared.Mapping.reset();
    FShared.View = nullptr;
    FShared.Handle = 0;
}
