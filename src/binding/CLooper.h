#pragma once
// The pattern looper, its listener and its pattern library. Operation
// positions are shared with the engine; positions the view never calls hold
// placeholders so the table keeps its shape.
#include "ui/core/Delegate.h"
#include "ui/core/String.h"

namespace Corvell {

class OutputStream;
class CMidiTrack; // binding/CMidiTrack.h

class CLooper {
public:
    // Engine notices; the destructor comes last.
    class Listener {
    public:
        /* 0 */ virtual void OnLooperClosing() = 0;
        /* 1 */ virtual void OnIgnored() = 0;
        /* 2 */ virtual void OnRefresh2() = 0;
        /* 3 */ virtual void OnRefresh3() = 0;
        /* 4 */ virtual void OnPlayStart() = 0;
        /* 5 */ virtual void OnPlayPosition(int tick) = 0;
        /* 6 */ virtual void OnPlayStop() = 0;
        /* 7 */ virtual void OnRefreshFromAnyThread() = 0;
        /* 8 */ virtual void OnRefresh8() = 0;
        /* 9 */ virtual void OnRefresh9() = 0;
        /* 10 */ virtual void OnRepaint() = 0;
        /* 11 */ virtual ~Listener() = default;
    };

    // A folder or file of the library. The view reads the members directly.
    class LibraryNode {
    public:
        /* 0, 1 */ virtual ~LibraryNode() = default;
        /* 2 */ virtual void Rename(String name) = 0;
        /* 3 */ virtual void Delete() = 0;
        /* 4 */ virtual void GetInfoPath(String& out) = 0;
        /* 5 */ virtual void Unused5() = 0;
        /* 6 */ virtual void Unused6() = 0;
        /* 7 */ virtual String GetPath(const LibraryNode* ancestor) = 0;
        /* 8 */ virtual String GetFullPath() = 0;

        LibraryNode* parent = nullptr;
        char* name = nullptr;
        LibraryNode* nextSibling = nullptr;
        LibraryNode* firstFile = nullptr;
        LibraryNode* firstFolder = nullptr;
    };

    class LibraryRoot {
    public:
        /* 0, 1 */ virtual ~LibraryRoot() = default;
        /* 2 */ virtual void Unused2() = 0;
        /* 3 */ virtual void EndChange() = 0;
        /* 4 */ virtual void BeginChange() = 0;
        /* 5 */ virtual void Rescan() = 0;

        LibraryNode* top = nullptr;
    };

    /* 0 */ virtual void Unused0() = 0;
    /* 1 */ virtual void Unused1() = 0;
    /* 2 */ virtual void Unused2() = 0;
    /* 3 */ virtual void Unused3() = 0;
    /* 4 */ virtual void Unused4() = 0;
    /* 5 */ virtual void Unused5() = 0;
    /* 6 */ virtual void Unused6() = 0;
    /* 7 */ virtual void Unused7() = 0;
    /* 8 */ virtual void Unused8() = 0;
    /* 9 */ virtual void Unused9() = 0;
    /* 10 */ virtual void Unused10() = 0;
    /* 11 */ virtual void Unused11() = 0;
    /* 12 */ virtual void Unused12() = 0;
    /* 13 */ virtual void Unused13() = 0;
    /* 14 */ virtual void Unused14() = 0;
    /* 15 */ virtual void Unused15() = 0;
    /* 16 */ virtual void Unused16() = 0;
    /* 17 */ virtual void Unused17() = 0;
    /* 18 */ virtual void Unused18() = 0;
    /* 19 */ virtual void Unused19() = 0;
    /* 20 */ virtual void Unused20() = 0;
    /* 21 */ virtual void Unused21() = 0;
    /* 22 */ virtual void WriteCurrentPattern(OutputStream& out) = 0;
    /* 23 */ virtual void Unused23() = 0;
    /* 24 */ virtual void Unused24() = 0;
    /* 25 */ virtual void Unused25() = 0;
    /* 26 */ virtual void Unused26() = 0;
    /* 27 */ virtual void Unused27() = 0;
    /* 28 */ virtual void Unused28() = 0;
    /* 29 */ virtual void Unused29() = 0;
    /* 30 */ virtual int GetPlayPosition() = 0;
    /* 31 */ virtual void VisitCurrentTrack(Delegate1<const CMidiTrack&>* painter) = 0;
    /* 32 */ virtual void SetTempoMode(int mode) = 0;
    /* 33 */ virtual int GetTempoMode() = 0;
    /* 34 */ virtual bool IsAddPatternBlocked(const char* stylePath) = 0;
    /* 35 */ virtual void Unused35() = 0;
    /* 36 */ virtual void Unused36() = 0;
    /* 37 */ virtual void Unused37() = 0;
    /* 38 */ virtual void Unused38() = 0;
    /* 39 */ virtual int GetPatternLength(int which) = 0;
    /* 40 */ virtual void Unused40() = 0;
    /* 41 */ virtual void Unused41() = 0;
    /* 42 */ virtual void Unused42() = 0;
    /* 43 */ virtual void Unused43() = 0;
    /* 44 */ virtual void Unused44() = 0;
    /* 45 */ virtual bool GetDimFlag() = 0;
    /* 46 */ virtual void Unused46() = 0;
    /* 47 */ virtual void Unused47() = 0;
    /* 48 */ virtual void Unused48() = 0;
    /* 49 */ virtual void Unused49() = 0;
    /* 50 */ virtual void SetDragRepeat(int value) = 0;
    /* 51 */ virtual void SetVeloAdd(int value) = 0;
    /* 52 */ virtual void SetRandomMin(int value) = 0;
    /* 53 */ virtual void SetRandomMax(int value) = 0;
    /* 54 */ virtual void SetRandomStrength(int value) = 0;
    /* 55 */ virtual void Unused55() = 0;
    /* 56 */ virtual void Unused56() = 0;
    /* 57 */ virtual void Unused57() = 0;
    /* 58 */ virtual void Unused58() = 0;
    /* 59 */ virtual void Unused59() = 0;
    /* 60 */ virtual void GetDragRepeatRange(int triple[3]) = 0;
    /* 61 */ virtual void GetVeloAddRange(int triple[3]) = 0;
    /* 62 */ virtual void GetRandomMinRange(int triple[3]) = 0;
    /* 63 */ virtual void GetRandomMaxRange(int triple[3]) = 0;
    /* 64 */ virtual void GetRandomStrengthRange(int triple[3]) = 0;
    /* 65 */ virtual void SetVeloViaPitchBend(bool on) = 0;
    /* 66 */ virtual bool GetVeloViaPitchBend() = 0;
    /* 67 */ virtual void SetVeloViaChord(bool on) = 0;
    /* 68 */ virtual bool GetVeloViaChord() = 0;
    /* 69 */ virtual void SetRandomVelocity(bool on) = 0;
    /* 70 */ virtual bool GetRandomVelocity() = 0;
    /* 71 */ virtual void Unused71() = 0;
    /* 72 */ virtual void Unused72() = 0;
    /* 73 */ virtual void Unused73() = 0;
    /* 74 */ virtual String GetStyleName() = 0;
    /* 75 */ virtual String GetPatternName() = 0;
    /* 76 */ virtual String GetDisplayName() = 0;
    /* 77 */ virtual void SelectPattern(const char* stylePath, const char* patternPath) = 0;
    /* 78 */ virtual LibraryRoot* GetLibrary() = 0;
    /* 79 */ virtual void AddListener(Listener* l) = 0;
    /* 80 */ virtual void RemoveListener(Listener* l) = 0;
    /* 81 */ virtual void StartPatternDrag() = 0;

protected:
    ~CLooper() = default;
};

} // namespace Corvell
