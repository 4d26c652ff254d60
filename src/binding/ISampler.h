#pragma once
// The sample player's numbered settings and status values. Slot order shared
// with the engine.
#include "binding/EngineTypes.h"
#include "ui/core/Delegate.h"

namespace Corvell {

class ISampler {
public:
    enum Status : int { LoadingProgress = 256, Voices = 257, MemoryMB = 259 };

    /* 0 */ virtual void TouchParameter(int par, bool begin) = 0;
    /* 1 */ virtual void SetParameter(int par, int value) = 0;
    /* 2 */ virtual int GetParameter(int par) = 0;
    /* 3 */ virtual bool GetParameterInfo(int par, ParInfo* out) = 0;
    /* 4 */ virtual int Query4(int a) = 0;
    /* 5 */ virtual void AddParameterListener(Delegate1<int>* l) = 0;
    /* 6 */ virtual bool RemoveParameterListener(Delegate1<int>* l) = 0;
    /* 7 */ virtual void AddResetListener(Delegate* l) = 0;
    /* 8 */ virtual bool RemoveResetListener(Delegate* l) = 0;
    /* 9 */ virtual void SetSwitch(int id, bool on) = 0;
    /* 10 */ virtual bool GetSwitch(int id) = 0;
    /* 11 */ virtual void ResetToDefaults() = 0;

protected:
    ~ISampler() = default;
};

} // namespace Corvell
