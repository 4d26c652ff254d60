#pragma once
// What the player's controllers do: the destination and amount of pitch
// bend up and down, the modulation wheel and aftertouch, the sustain pedal
// (chord pages) and the velocity curve. The column at the right edge of the
// play-mode pages. It writes each choice as one edit and shows what the
// engine then holds.
#include "binding/CVProxySite.h"
#include "binding/IRnC.h"
#include "ui/ALabel.h"
#include "ui/Combo.h"
#include "ui/CurveSwitcher.h"
#include "ui/Pane.h"
#include "ui/Tooltip.h"

#include <memory>
#include <vector>

namespace Corvell {

class ElectricControllerPanel : public Pane {
public:
    enum Kind { kSolo = 0, kHarmony = 1, kChords = 2 };
    enum Row { kBendUp = 0, kBendDown = 1, kWheel = 2, kTouch = 3, kRows = 4 };
    // The parameters the panel shows, in the order UpdateAll reads them.
    static constexpr int kParameters[14] = {5, 6, 7, 78, 79, 80, 8, 9, 10, 11, 12, 91, 13, 81};
    static constexpr int kRowPitch = 28;

    // rnc: the page's proxy (not owned; may be null: nothing is written).
    ElectricControllerPanel(IRnC* rnc, int kind);
    ~ElectricControllerPanel() override;

    // Lays the panel out, starts listening to the engine and shows it.
    void Create(Pane* parent, const Rect& bounds) override;
    // Stops listening.
    void OnDestroy() override;
    void Paint(GraphicsContext& gc) override;

    // Shows what the engine holds for parameter id.
    void UpdateParameter(int id);
    void UpdateAll();
    void RegisterTooltips(TooltipHandler& handler);

    int GetKind() const { return m_kind; }
    Combo* Destination(int row) const { return row >= 0 && row < kRows ? m_destination[row].get() : nullptr; }
    Combo* Amount(int row) const { return row >= 0 && row < kRows ? m_amount[row].get() : nullptr; }
    Combo* Footage() const { return m_footage.get(); }
    Combo* Pedal() const { return m_pedal.get(); }
    CurveSwitcher* Curves() const { return m_curves.get(); }
    // The destination row shows, as an index of the pitch-bend-up list.
    int Shown(int row) const { return row >= 0 && row < kRows ? m_shown[row] : 0; }
    // Whether a row is part of this kind's panel.
    bool HasRow(int row) const { return row != kBendDown || m_kind == kSolo; }

    // Combo index to parameter value of a destination row, and a value to
    // the destination shown.
    static int DestinationValue(int row, int index);
    static int ShownDestination(int row, int value);

private:
    void Layout();
    void Listen(bool on);
    void ShowDestination(int row, int shown);
    void FillAmount(int row, int shown);
    void SelectAmount(int row);
    void OnDestinationChosen(int row, int index);
    void OnAmountChosen(int row, int index);
    void Write(int par, int value);
    // The pitch-bend-down steps start as a copy of pitch bend up's.
    void CopyBendSteps();
    int Get(int par) const;

    IRnC* const m_rnc;
    const int m_kind;
    std::unique_ptr<Combo> m_destination[kRows];
    std::unique_ptr<Combo> m_amount[kRows];
    int m_shown[kRows] = {0, 0, 0, 0};
    std::unique_ptr<Combo> m_footage;
    std::unique_ptr<CurveSwitcher> m_curves;
    std::unique_ptr<Combo> m_pedal;
    std::vector<std::unique_ptr<ALabel>> m_labels;
    Ref<Liveness> m_alive{new Liveness(this)};
    Ref<Delegate1<ERnCPars>> m_parameterListener;
    Ref<Delegate> m_resetListener;
    bool m_listening = false;
    bool m_updating = false; // a copy is being written
    bool m_copyTried = false; // ... or was, for the current pitch-bend-up steps
};

} // namespace Corvell
