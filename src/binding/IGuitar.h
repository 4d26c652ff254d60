#pragma once
// Installed guitars (sample sets). Slot order shared with the engine.
#include "binding/EngineTypes.h"
#include "ui/core/Delegate.h"

namespace Corvell {

class IGuitar {
public:
    /* 0 */ virtual int GetGuitarCount() = 0;
    /* 1 */ virtual void GetGuitarInfo(int index, GuitarInfo* out) = 0;
    /* 2 */ virtual int GetCurrentGuitar() = 0;
    /* 3 */ virtual void SelectGuitar(int index) = 0;
    /* 4 */ virtual void AddGuitarListener(Delegate* l) = 0;
    /* 5 */ virtual bool RemoveGuitarListener(Delegate* l) = 0;

protected:
    ~IGuitar() = default;
};

} // namespace Corvell
