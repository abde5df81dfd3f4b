#pragma once

#include "exchange/UProcs02.h"

#include <string>

// The host's side of the link: an object created as a host does, with its own view, removed
// with the host.
class THostObject {
public:
    THostObject(std::string name, int32_t size) : FName(std::move(name)) {
        FShared = OpenSharedMemory(true, FName, size);
    }
    ~THostObject() { RemoveSharedMapping(FName); }
    THostObject(const THostObject&) = delete;
    THostObject& operator=(const THostObject&) = delete;

    TSharedBlock Block() const { return TSharedBlock(FShared.View); }

private:
    std::string FName;
    TSharedMemory FShared;
};
