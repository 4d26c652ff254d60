#pragma once
// Game-controller parameters (ParId below 4096).
#include "ui/core/Delegate.h"

namespace Corvell {

class IChordMapsMan;

// Range of one parameter; a new object (count 0) per request.
class IDizuvozaParInfo : public RefCounted {
public:
    virtual int Minimum() = 0;
    virtual int Maximum() = 0;
    virtual int Default() = 0;
};

class IDizuvozaPars {
public:
    virtual int GetParameter(int id) = 0;
    // Notifies (id, value) to every listener, also when unchanged.
    virtual void SetParameter(int id, int value) = 0;
    virtual void AddParameterListener(Delegate2<int, int, void>* l) = 0;
    virtual bool RemoveParameterListener(Delegate2<int, int, void>* l) = 0;
    virtual IDizuvozaParInfo* GetParameterInfo(int id) = 0;
    virtual IChordMapsMan* GetChordMaps() = 0;
    virtual int GetSequenceCount() = 0;
    virtual const char* GetSequenceName(int index) = 0;

protected:
    ~IDizuvozaPars() = default;
};

} // namespace Corvell
