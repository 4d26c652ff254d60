#pragma once
// The view's guitar combo: lists the installed guitars, marks the current
// one, and loads the one the user chooses. It reads the list again on every
// guitar notice of the proxy it is given, which must outlive it.
#include "binding/IGuitar.h"
#include "ui/Combo.h"

#include <string>

namespace Corvell {

class GuitarSelector : public BCombo {
public:
    static constexpr const char* kNotFound = "-- guitars not found! --";
    static constexpr const char* kSelect = "-- select guitar --";

    explicit GuitarSelector(IGuitar* guitars);
    ~GuitarSelector() override;

    void Refresh();

private:
    void OnGuitarsChanged();
    void OnChosen(int index);
    void Fill();

    IGuitar* const m_guitars;
    Ref<Delegate> m_changed;
    Ref<ComboIndexListener> m_chosen;
    // The one-guitar list the selector last loaded by itself: it loads a
    // list's only guitar once, not on every notice (a guitar that reports
    // another index while loading would otherwise be selected for ever).
    std::string m_loadedAlone;
    bool m_filling = false;
    bool m_fillAgain = false;
};

} // namespace Corvell
