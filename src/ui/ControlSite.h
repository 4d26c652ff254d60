#pragma once
#include <cstdint>

#include "ui/core/Delegate.h"

namespace Corvell {

// What a site knows about one numbered setting.
struct ControlInfo {
    int32_t kind = 0;
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t defaultValue = 0;
    int32_t extra = 0;
};

// Where bound controls read and write a numbered setting. A control sends
// the user's changes here and shows only what it reads back; every
// BeginEdit it sends is followed by exactly one EndEdit.
class ControlSite {
public:
    virtual int32_t GetValue(int32_t id) = 0;
    virtual void SetValue(int32_t id, int32_t value) = 0;
    // Fills out; all zeros when the site does not know the setting.
    virtual void GetInfo(int32_t id, ControlInfo* out) = 0;
    // On/off settings, kept apart from the values of the same numbers.
    virtual bool GetSwitch(int32_t id) = 0;
    virtual void SetSwitch(int32_t id, bool on) = 0;
    virtual void BeginEdit(int32_t id) = 0;
    virtual void EndEdit(int32_t id) = 0;
    // l is told (on the window's thread) whenever setting id may have
    // changed; the site keeps a reference until RemoveListener.
    virtual void AddListener(int32_t id, Delegate* l) = 0;
    virtual void RemoveListener(int32_t id, Delegate* l) = 0;

protected:
    ~ControlSite() = default;
};

} // namespace Corvell
