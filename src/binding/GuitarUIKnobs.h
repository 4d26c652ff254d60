#pragma once
// Small view settings the engine keeps for the view (flat names, sort
// order, last sequencer play mode, ...).
#include "ui/core/Delegate.h"

namespace Corvell {
namespace GuitarUI {

class Knobs {
public:
    enum Index : int { FlatNames = 0, UcmAutoPlay = 2, TabSortMode = 3, LastSequencerMode = 4 };

    virtual int GetKnob(int index) = 0;
    // Notifies the change listeners with index, also when unchanged.
    virtual void SetKnob(int index, int value) = 0;
    virtual void AddChangedListener(Delegate1<int>* l) = 0;
    virtual bool RemoveChangedListener(Delegate1<int>* l) = 0;

protected:
    ~Knobs() = default;
};

} // namespace GuitarUI
} // namespace Corvell
