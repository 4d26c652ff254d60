#pragma once
// User chord maps: banks of fingerings per standard chord.
#include "binding/EngineTypes.h"
#include "ui/core/Delegate.h"

namespace Corvell {

class IUserChordMap {
public:
    virtual void Clear() = 0;
    virtual bool FindUserChord(const StdChord* chord, UserChord* out) = 0;
    virtual void SetUserChord(const StdChord* chord, const UserChord* fingering) = 0;
    virtual void DeleteUserChord(const StdChord* chord) = 0;
    // Synchronous, in a stable order.
    virtual void EnumerateUserChords(Delegate2<const StdChord*, const UserChord*, void>* each) = 0;
    virtual const char* GetName() = 0;
    virtual void SetName(const char* name) = 0;

protected:
    ~IUserChordMap() = default;
};

class IUserChordMapsMan {
public:
    virtual void ExportBank(const char* path) = 0;
    virtual void ImportBank(const char* path) = 0;
    virtual void ExportLibrary(const char* path) = 0;
    virtual void ImportLibrary(const char* path) = 0;
    virtual void SetDefaultBank(int index) = 0;
    virtual int GetDefaultBank() = 0;
    virtual int GetBankCount() = 0;
    virtual const char* GetBankName(int index) = 0;
    virtual int FindBank(const char* name) = 0;
    virtual bool IsCurrentBankModified() = 0;
    // -1 the current bank is not stored, 0 the scratch bank, > 0 user banks.
    virtual int GetCurrentBank() = 0;
    virtual void SelectBank(int index) = 0;
    virtual void SaveCurrentBank() = 0;
    virtual void DeleteCurrentBank() = 0;
    virtual void AddCurrentBank() = 0;
    virtual IUserChordMap* GetCurrentBankMap() = 0;
    virtual IUserChordMap* GetBankMap(int index) = 0;
    virtual void GetStandardFingering(const StdChord* chord, UserChord* out) = 0;
    virtual void AddListener(Delegate1<EUserChordMapEvent>* l) = 0;
    virtual bool RemoveListener(Delegate1<EUserChordMapEvent>* l) = 0;

protected:
    ~IUserChordMapsMan() = default;
};

} // namespace Corvell
