#pragma once
// The game-controller engine: devices, their events and the current tab.
#include "binding/EngineTypes.h"
#include "ui/core/Delegate.h"
#include "ui/core/Ref.h"

namespace Corvell {

class IChordMap;
class IDizuvozaPars;

namespace Dizuvoza {

// An engine device object (a connected game controller).
class Controller : public RefCounted {
public:
    virtual const char* GetName() = 0;
    virtual void AddEventListener(Delegate1<Event>* l) = 0;
    virtual bool RemoveEventListener(Delegate1<Event>* l) = 0;
    virtual void Learn() = 0;
};

// Device added / removed notices.
class ControllerEvents {
public:
    virtual void AddDeviceAddedListener(Delegate1<Ref<Controller>>* l) = 0;
    virtual bool RemoveDeviceAddedListener(Delegate1<Ref<Controller>>* l) = 0;
    virtual void AddDeviceRemovedListener(Delegate1<Ref<Controller>>* l) = 0;
    virtual bool RemoveDeviceRemovedListener(Delegate1<Ref<Controller>>* l) = 0;

protected:
    ~ControllerEvents() = default;
};

} // namespace Dizuvoza

class IDizuvoza {
public:
    virtual IDizuvozaPars* GetPars() = 0;
    // A new copy owned by the caller, or null.
    virtual IChordMap* GetCurrentChordMap() = 0;
    // The engine copies the tab, then notifies IDizuvozaPars 47.
    virtual void SetCurrentChordMap(IChordMap* map) = 0;
    virtual Ref<Dizuvoza::Controller> GetSelectedController() = 0;
    virtual Dizuvoza::ControllerEvents* GetControllerEvents() = 0;
    virtual void SelectController(Ref<Dizuvoza::Controller> device) = 0;

protected:
    ~IDizuvoza() = default;
};

} // namespace Corvell
