#pragma once
// Binds the "Wah" tab panel to the engine's wah-wah: the on switch and the
// mode of effect type 32, the MIDI controller number (parameter 90), and
// the one mode group that shows.
#include "binding/IRnC.h"
#include "ui/Combo.h"
#include "ui/NumEditor.h"
#include "ui/Pane.h"
#include "ui/ToggleButton.h"
#include "ui/Tooltip.h"

namespace Corvell {

class WahWahController {
public:
    static constexpr int kWahType = 32;
    static constexpr int kControllerParameter = 90;
    static constexpr int kModes = 4;
    enum PaneId { kSwitch = 39, kMode = 40, kController = 45, kFirstModeGroup = 57 };

    // section: the "Wah" panel (not owned; the controller must go first).
    // rnc: the view's proxy, or null.
    WahWahController(IRnC* rnc, Pane* section);
    ~WahWahController();
    WahWahController(const WahWahController&) = delete;
    WahWahController& operator=(const WahWahController&) = delete;

    // Shows what the engine holds: switch, mode, mode group, controller.
    void Show();
    void RegisterTooltips(TooltipHandler& handler);

    ToggleButton* Switch() const { return static_cast<ToggleButton*>(m_switch.Get()); }
    Combo* Mode() const { return static_cast<Combo*>(m_mode.Get()); }
    NumEditor* Controller() const { return m_controllerPane.IsAlive() ? m_controller : nullptr; }
    Pane* ModeGroup(int mode) const;

private:
    struct Relay;
    void OnSwitchClick();
    void OnModeChosen(int index);
    void OnFx(IRnC::FxListenerArgs args);
    void OnParameter(ERnCPars par);
    void ShowController();

    IRnC* const m_rnc;
    PaneGuard m_section;
    PaneGuard m_switch;
    PaneGuard m_mode;
    NumEditor* const m_controller; // the pane, seen as an editor
    PaneGuard m_controllerPane;
    Ref<Relay> m_relay;
};

} // namespace Corvell
