#pragma once
// The engine's MIDI effect; the view uses only its interface lookup.
namespace Corvell {

class MidiEffect {
public:
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
    /* 15 */ virtual void* GetInterface(const char* name) = 0; // "CLooper"

protected:
    ~MidiEffect() = default;
};

} // namespace Corvell
