#pragma once
// The main editor pane, 800 x 588. It asks the host for every engine
// interface by name and attaches its proxies to them.
#include "binding/CVGuitar.h"
#include "binding/CVRnC.h"
#include "binding/CVSampler.h"
#include "binding/ICorvellHost.h"
#include "binding/GuitarUIKnobs.h"
#include "binding/IDizuvozaPars.h"
#include "binding/ParameterControllers.h"
#include "binding/SamplerController.h"
#include "binding/SamplerStatus.h"
#include "binding/UiProxySite.h"
#include "ui/Pane.h"
#include "view/DisplayPane.h"
#include "view/MacromodeButtonGroup.h"
#include "view/PageContainer.h"
#include "ui/ControlAdapters.h"
#include "ui/ControlPanel.h"
#include "ui/PaneFactory.h"
#include "ui/EmbossedButton.h"
#include "ui/HSlider3.h"
#include "ui/TabSwitch.h"
#include "view/AboutPane.h"
#include "view/WahWahController.h"

#include <deque>
#include <vector>
#include <memory>

namespace Corvell {

class RorezoZavu : public Pane {
public:
    static constexpr int32_t kWidth = 800;
    static constexpr int32_t kHeight = 588;

    RorezoZavu();
    ~RorezoZavu() override;

    // Asks host for the engine interfaces, in the engine's order, and
    // attaches the proxies. True when attached (any interface may be missing).
    bool AttachHost(ICorvellHost* host);
    // Forgets every engine interface; the proxies answer their defaults.
    void DetachHost();
    bool IsAttached() const { return m_host != nullptr; }

    CVRnC& RnC() { return *m_rnc; }
    CVGuitar& Guitar() { return *m_guitar; }
    CVSampler& Sampler() { return *m_sampler; }
    DisplayPane* Display() const { return m_display.get(); }
    // Controls bound to play parameters; updated on every notice of theirs.
    ParameterControllerList& Controllers() { return m_controllers; }
    void* EngineInterface(const char* name) const;

    // ---- macromodes ----
    enum Macromode { kMidi = 0, kPattern = 1, kJoystick = 2, kGuitar = 3, kDirect = 4, kMacromodes = 5 };
    // Where the strip and the containers sit. The layout fixes the strip and
    // the MIDI-guitar container; the others end where the keyboard frame
    // begins, which is as far as any page's content reaches.
    static constexpr Rect kMacromodeStrip{(kWidth - 786) / 2, 258, 786, 34};
    static constexpr Rect kContainerArea{0, 292, kWidth, 210};
    static constexpr Rect kMidiGuitarArea{0, 292, kWidth, kHeight - 5 - 292};
    static constexpr Color kContainerColor = 0x111111;

    // The macromode the engine's state means.
    int GetMacromode();
    // Shows macromode m without telling the engine.
    void SelectMacromode(int m);
    // The user chose macromode m: tells the engine.
    void OnMacromodeSelection(int m);
    // The engine's play mode changed: shows what it means.
    void OnPlayModeChanged(int mode);

    static constexpr Rect kLogo{(kWidth - 180) / 2, 4, 180, 30};
    static constexpr Rect kMakerLogo{(kWidth - 100) / 2, 34, 100, 28};
    static constexpr Rect kAutoButton{200, 136, 50, 27};
    static constexpr Rect kHoldButton{549, 136, 50, 27};
    static constexpr Rect kPickPosition{691, 165, 100, 24};
    static constexpr ERnCPars kSilentMode = rncSilentMode;
    static constexpr Rect kAbout{(kWidth - 100) / 2, 4, 100, 56};
    static constexpr Rect kAccentPanel{20, 55, 220, 80};
    static constexpr Rect kNeck{0, 161, 700, 94};
    // The two tab strips along the top edge, and their panels, which open
    // below them and reach a little past the window's sides.
    static constexpr Rect kLeftTabs{0, 0, 252, 25};
    static constexpr Rect kRightTabs{kWidth - 251, 0, 253, 25};
    static constexpr Size kTabPanelSize{264, 132};
    static constexpr int32_t kTabPanelTop = 24;
    static constexpr int32_t kTabPanelOverhang = 7;
    static constexpr int32_t kSetupPanelId = 61;
    static constexpr int32_t kWahPanelId = 38;
    // The "Timing" panel's strum-time slider, bound to the play parameter.
    static constexpr int32_t kStrumTimeId = 0;
    static constexpr int32_t kStrumTimeMin = 20;
    static constexpr int32_t kStrumTimeMax = 60;
    // Where the keyboard goes: centred, 5 pixels over the bottom edge, the
    // size of its image.
    static Rect KeyboardRect();

    // ---- playback events, for the neck and the keyboard ----
    // Events wait for the window's thread and arrive there in order, a
    // burst in one flush. At most this many wait; the oldest go first.
    static constexpr size_t kMaxPendingEvents = 4096;
    void AddPlaybackListener(Delegate1<SPlaybackEvent>* l) { m_playbackListeners->Add(l); }
    bool RemovePlaybackListener(Delegate1<SPlaybackEvent>* l) { return m_playbackListeners->Remove(l); }
    size_t PendingPlaybackEvents();

    MacromodeButtonGroup* Macromodes() const { return m_macromodes.get(); }
    EmbossedButton* AutoButton() const { return m_auto.get(); }
    EmbossedButton* HoldButton() const { return m_hold.get(); }
    HSlider3* PickPosition() const { return m_pickPosition.get(); }
    AboutOpener* About() const { return m_about.get(); }
    ControlPanel* AccentPanel() const { return m_accent; }
    // The sample player's settings as the panels' controls reach them.
    SamplerController& SamplerSite() { return *m_samplerSite; }
    // The adapters binding the panels' controls to the settings.
    ControlAdapterHost& Adapters() { return *m_adapters; }
    // The "Wah" panel bound to the engine's wah-wah.
    WahWahController* Wah() const { return m_wah.get(); }
    // 0: the left strip ("Output", "Tune", "Setup"), 1: the right one.
    TabSwitch* TabStrip(int side) const { return side == 0 ? m_leftTabs.get() : m_rightTabs.get(); }
    // The slots of the later parts: the neck's and the keyboard's.
    Pane* NeckSlot() const { return m_neck.get(); }
    Pane* KeyboardSlot() const { return m_keyboard.get(); }
    // The parameter HOLD shows and writes now: the solo hold in play mode 1
    // without silent mode, the hold otherwise.
    ERnCPars HoldParameter();
    // Null until that macromode was first shown (3: while it is shown).
    Pane* Container(int m) const { return (m >= 0 && m < kMacromodes) ? m_containers[size_t(m)].get() : nullptr; }
    // The containers with tabs and page slots (null for the game-controller
    // view, and until made).
    PageContainer* Pages(int m) const;
    // Shows the sequencer page of a play mode (1 to 5); any other shows none.
    void SelectPage(int mode);

    void Paint(GraphicsContext& gc) override;
    // Children paint with the view's font selected.
    void PaintAll(GraphicsContext& gc) override;
    // The view is built into its window: what it shows is read afresh, as
    // notices sent before there was a window went nowhere.
    void OnWindowCreated() override;
    // The window goes: events waiting for it are dropped, and so is the
    // flush it would have run, so the next window starts clean.
    void OnDestroy() override;

private:
    // The view's thread as the proxies see it: the window's.
    class ViewThread : public UiThread {
    public:
        explicit ViewThread(Pane* p) : m_pane(p) {}
        bool IsUiThread() override { return m_pane->IsUiThread(); }
        void Post(Ref<Delegate> call) override { m_pane->PostDeferred(std::move(call)); }

    private:
        Pane* m_pane;
    };

    // The proxies' site: after the proxies' own listeners, the view's.
    class ViewSite : public UiProxySite {
    public:
        ViewSite(RorezoZavu* view, UiThread* ui) : UiProxySite(ui), m_view(view) {}

        // On the engine's thread: the play mode is remembered in knob 4.
        void OnRnCParameterChanged(ERnCPars par) override;
        // Both resets, as if the engine had just sent them: everything
        // bound to the RnC and the sampler reads what they hold.
        void ReplayResets();

    protected:
        void HandleRnCParameter(ERnCPars par) override;
        void HandleRnCReset() override;

    private:
        RorezoZavu* m_view;
    };

    void OnRnCParameter(ERnCPars par);
    void QueuePlayback(SPlaybackEvent e);
    void FlushPlayback();
    void DropPendingPlayback();
    void PlayModeUpdate();
    void ShowHold();
    void OnHoldClick(ButtonListenerArgs args);
    void OnPlayModeTab(int macromode, int index);
    // A game-controller parameter changed (any thread).
    void OnGameControllerNotice(int id, int value);
    void OnGameControllerSwitch();
    // Shows notes as knob 0 asks: with flats when it is not zero.
    void ShowNoteNames();
    Pane* MakeContainer(int m);
    void MakeTabPanels();
    void BindTabPanels();
    int GameControllerSwitch();

    ViewThread m_thread{this};
    ViewSite m_site{this, &m_thread};
    ParameterControllerList m_controllers;
    std::unique_ptr<CVRnC> m_rnc;
    std::unique_ptr<CVGuitar> m_guitar;
    std::unique_ptr<CVSampler> m_sampler;
    // Panes and read-outs that listen to the proxies go before them.
    std::unique_ptr<DisplayPane> m_display;
    std::unique_ptr<SamplerStatus> m_samplerStatus;
    std::unique_ptr<SamplerController> m_samplerSite;
    std::unique_ptr<ControlAdapterHost> m_adapters;
    std::unique_ptr<WahWahController> m_wah;
    std::unique_ptr<MacromodeButtonGroup> m_macromodes;
    std::unique_ptr<Pane> m_containers[kMacromodes];
    bool m_inMacromodeSelection = false;
    // Playback: appended on the engine's thread, flushed on the window's.
    struct PlaybackReceiver : EmbeddedCounting<Delegate1<SPlaybackEvent>> {
        RorezoZavu* owner = nullptr;
        void Invoke(SPlaybackEvent e) override { owner->QueuePlayback(e); }
    };
    PlaybackReceiver m_playbackReceiver;
    Ref<MulticastDelegate1<SPlaybackEvent>> m_playbackListeners{new MulticastDelegate1<SPlaybackEvent>};
    Lock m_playbackLock;
    std::deque<SPlaybackEvent> m_pendingEvents;
    bool m_flushPosted = false;
    Ref<Liveness> m_alive;
    Ref<Delegate2<int, int, void>> m_gameControllerListener;
    IDizuvozaPars* m_listenedPars = nullptr;
    // Knob 0 names notes with flats; told from any thread.
    Ref<Delegate1<int>> m_knobListener;
    GuitarUI::Knobs* m_listenedKnobs = nullptr;
    Ref<Delegate> m_flush; // made once: the engine's thread allocates nothing per burst
    std::unique_ptr<EmbossedButton> m_auto;
    std::unique_ptr<EmbossedButton> m_hold;
    std::unique_ptr<HSlider3> m_pickPosition;
    std::unique_ptr<AboutOpener> m_about;
    // The accent panel, the tab panels and their controls, made from tables.
    PaneSet m_builtPanes;
    ControlPanel* m_accent = nullptr;
    std::unique_ptr<Pane> m_neck;
    std::unique_ptr<ControlPanel> m_keyboard;
    std::unique_ptr<TabSwitch> m_leftTabs;
    std::unique_ptr<TabSwitch> m_rightTabs;
    Ref<Font> m_font;
    ICorvellHost* m_host = nullptr;

    struct Named {
        const char* name;
        void* iface;
    };
    Named m_interfaces[7] = {{"Corvell::MidiEffect", nullptr}, {"IDizuvozaPars", nullptr},
                             {"IUserChordMapsMan", nullptr},   {"GuitarUI::Knobs", nullptr},
                             {"IGuitar", nullptr},             {"ISampler", nullptr},
                             {"IRnC", nullptr}};
};

} // namespace Corvell
