#include "binding/GuitarSelector.h"

namespace Corvell {

namespace {
String GuitarName(IGuitar* guitars, int index) {
    GuitarInfo info;
    guitars->GetGuitarInfo(index, &info);
    info.name[sizeof info.name - 1] = '\0';
    String name;
    name.Format("%s", info.name);
    return name;
}
} // namespace

GuitarSelector::GuitarSelector(IGuitar* guitars)
    : m_guitars(guitars), m_changed(MakeDelegate(this, &GuitarSelector::OnGuitarsChanged)),
      m_chosen(MakeDelegate(this, &GuitarSelector::OnChosen)) {
    SetEmptyText(kNotFound);
    AddSelectionListener(m_chosen);
    if (m_guitars)
        m_guitars->AddGuitarListener(m_changed.Get());
}

GuitarSelector::~GuitarSelector() {
    if (m_guitars)
        m_guitars->RemoveGuitarListener(m_changed.Get());
}

void GuitarSelector::OnGuitarsChanged() { Refresh(); }

void GuitarSelector::Refresh() {
    // Loading a guitar may notify at once; the list is then read again
    // after this pass, not inside it.
    if (m_filling) {
        m_fillAgain = true;
        return;
    }
    PaneGuard alive(this);
    m_filling = true;
    do {
        m_fillAgain = false;
        Fill();
    } while (alive.IsAlive() && m_fillAgain);
    if (alive.IsAlive())
        m_filling = false;
}

void GuitarSelector::Fill() {
    Clear();
    SetEmptyText(kNotFound);
    Select(-1);
    Invalidate(LocalBounds());
    const int n = m_guitars ? m_guitars->GetGuitarCount() : 0;
    if (n == 1) {
        const String name = GuitarName(m_guitars, 0);
        SetEmptyText(name);
        const std::string list(name.c_str());
        if (m_guitars->GetCurrentGuitar() != 0 && list != m_loadedAlone) {
            m_loadedAlone = list;
            m_guitars->SelectGuitar(0);
        }
        return;
    }
    m_loadedAlone.clear();
    if (n > 1) {
        for (int i = 0; i < n; ++i)
            AddItem(GuitarName(m_guitars, i));
        SetEmptyText(kSelect);
        Select(m_guitars->GetCurrentGuitar());
    }
}

void GuitarSelector::OnChosen(int index) {
    if (m_guitars && index >= 0 && index != m_guitars->GetCurrentGuitar())
        m_guitars->SelectGuitar(index);
}

} // namespace Corvell
