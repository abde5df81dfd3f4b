#include "ui/TfrmVeskIn.h"

#include "exchange/HostLink.h"

#include <QAction>

#include <optional>

namespace {

template <class T> std::optional<T> Optional(const TFieldValue& value) {
    if (const T* held = std::get_if<T>(&value))
        return *held;
    return std::nullopt;
}

} // namespace

// An object that opened without a usable view leaves the tool stand-alone.
void TfrmVeskIn::LinkHost() {
    FShared = OpenHostLink();
    FHostLinked = IsHostLinked(FShared);
    if (!FHostLinked)
        return;
    FDairy->Consumo = OfferedIntake(FShared);
    ShowInputs();
}

void TfrmVeskIn::acShareUpdate() {
    acShare->setEnabled(FHostLinked && FCalculado);
}

// A failure (a closed table, a limit beyond 64 bits) stops the send where it
// arose and leaves the link open; a finished send ends the program.
void TfrmVeskIn::acShareExecute() {
    THostSend send(FShared, FDairy->Consumo);
    // The text of an open cell editor belongs to the edit that moving to the first row posts.
    if (!UpdateGridData())
        return;
    mt.First();
    for (int slot = 0; slot < TSharedBlock::SlotCount; ++slot) {
        send.Row({Optional<double>(mt.Value(*mtMin)), Optional<double>(mt.Value(*mtMax)),
                  Optional<bool>(mt.Value(*mtEnviar))});
        mt.Next();
    }
    send.Finish();
    FHostLinked = false;
    close();
}
