#pragma once
// Chord preview and chord notices of the guitar synthesiser.
#include "binding/EngineTypes.h"
#include "ui/core/Delegate.h"

#include <cstdint>

namespace Corvell {

class IGuitarSynth {
public:
    enum PreviewEvent : uint32_t { PreviewStart = 0x5AB996, PreviewStop = 0x5AB986 };

    virtual void SetPreviewChord(const unsigned char record[5]) = 0;     // 2, root, type, bass, pos
    virtual void SetPreviewFingering(const unsigned char record[7]) = 0; // 1, fret of strings 1..6
    virtual void SetPreviewKord(const Kord* kord) = 0;
    virtual void SendEvent(uint32_t event) = 0;
    virtual int GetParameter(int id) = 0;
    virtual void SetParameter(int id, int value) = 0;
    virtual void AddChordPlayedListener(Delegate1<Kord>* l) = 0;
    virtual bool RemoveChordPlayedListener(Delegate1<Kord>* l) = 0;
    virtual void AddChordChosenListener(Delegate1<Kord>* l) = 0;
    virtual bool RemoveChordChosenListener(Delegate1<Kord>* l) = 0;
    virtual void AdjustFret(int string, int* fret) = 0;
    virtual void GetCurrentChord(Kord* out) = 0;

protected:
    ~IGuitarSynth() = default;
};

} // namespace Corvell
