#pragma once
// Chord tabs: the stored tab list and the tab objects.
#include "binding/EngineTypes.h"
#include "ui/core/String.h"

namespace Corvell {

// A chord tab. Copies handed out belong to the receiver, who deletes them.
class IChordMap {
public:
    virtual ~IChordMap() = default;
    virtual int GetEntryCount() = 0; // 32; entries 1..31 by fret mask
    virtual void ExportFile(const char* path) = 0;
    virtual Kord* GetEntry(int mask) = 0; // null outside 0..count-1
    virtual const char* GetName() = 0;
    virtual void SetName(const char* name) = 0;
};

class IChordMapsMan {
public:
    virtual void SaveLibrary(const char* path) = 0; // null: the engine's own store
    virtual void SyncLibrary(int what) = 0;
    virtual void ImportFile(const char* path) = 0;
    virtual int GetChordMapCount() = 0;
    virtual void AddChordMap(IChordMap* map) = 0;
    virtual void DeleteChordMap(int index) = 0;
    virtual void ReplaceChordMap(int index, IChordMap* map) = 0;
    virtual int FindChordMap(const char* name) = 0;
    // 0 same name and content, 1 name not stored, 2 stored with other content.
    virtual int CompareChordMap(IChordMap* map) = 0;
    virtual String GetChordMapName(int index) = 0;
    virtual IChordMap* CopyChordMap(int index) = 0;
    virtual int NewChordMap(const char* name) = 0;

protected:
    ~IChordMapsMan() = default;
};

} // namespace Corvell
