#include "view/RorezoZavu.h"

#include "ui/HSlider.h"
#include "view/TabPanels.h"

#include "binding/GuitarUIKnobs.h"
#include "binding/IDizuvozaPars.h"
#include "binding/StrokeNotifier.h"
#include "ui/core/FunctionDelegate.h"
#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/Palette.h"

#include <cstring>

namespace Corvell {

RorezoZavu::RorezoZavu()
    : m_rnc(new CVRnC(&m_site)), m_guitar(new CVGuitar(&m_site)), m_sampler(new CVSampler(&m_site)) {
    m_site.SetRnC(m_rnc.get());
    m_site.SetGuitar(m_guitar.get());
    m_site.SetSampler(m_sampler.get());
    SetBounds(Rect{0, 0, kWidth, kHeight});
    m_alive = new Liveness(this);
    m_flush = Fn([alive = m_alive] {
        if (auto* view = static_cast<RorezoZavu*>(alive->Target()))
            view->FlushPlayback();
    });
    m_gameControllerListener = MakeDelegate(this, &RorezoZavu::OnGameControllerNotice);
    m_knobListener = Fn<int>([this, alive = m_alive](int knob) {
        if (knob != GuitarUI::Knobs::FlatNames)
            return;
        m_site.RunOnUiThread(Fn([alive] {
            if (auto* view = static_cast<RorezoZavu*>(alive->Target()))
                view->ShowNoteNames();
        }));
    });
    m_playbackReceiver.owner = this;
    m_rnc->AddPlaybackListener(&m_playbackReceiver);

    m_font = new Font("Tahoma", 10.0f, 0, Font::Points);
    m_about.reset(new AboutOpener);
    m_about->SetBounds(kAbout);
    AddChild(m_about.get());
    m_samplerSite.reset(new SamplerController(m_sampler.get()));
    m_adapters.reset(new ControlAdapterHost(m_samplerSite.get()));
    m_accent = static_cast<ControlPanel*>(BuildPane(this, TabPanels::kAccent, m_builtPanes));

    m_display.reset(new DisplayPane(m_guitar.get()));
    AddChild(m_display.get());
    m_samplerStatus.reset(new SamplerStatus(m_sampler.get(), this, m_display->Voices(), m_display->Memory(),
                                            m_display->Status()));
    m_display->Selector()->Refresh();
    m_macromodes.reset(new MacromodeButtonGroup);
    m_macromodes->SetBounds(kMacromodeStrip);
    m_macromodes->SetChoiceListener(Fn<int>([this](int m) { OnMacromodeSelection(m); }));
    AddChild(m_macromodes.get());
    MakeContainer(kMidi);
    MakeContainer(kPattern);
    m_neck.reset(new Pane);
    m_neck->SetBounds(kNeck);
    AddChild(m_neck.get());
    m_keyboard.reset(new ControlPanel("kbd.png", ControlPanel::kImageOnce));
    m_keyboard->SetBounds(KeyboardRect());
    AddChild(m_keyboard.get());

    auto makeButton = [this](const char* caption, const Rect& r) {
        std::unique_ptr<EmbossedButton> b(new EmbossedButton(caption));
        b->SetImages(Corvell::GetImage("button-normal.png"), Corvell::GetImage("button-pressed.png"));
        b->SetBounds(r);
        AddChild(b.get());
        return b;
    };
    m_auto = makeButton("AUTO", kAutoButton);
    m_controllers.Add(Ref<IRnCParameterController>(new ToggleController_for_IRnC(m_rnc.get(), rncAutoFretPosition, m_auto.get())));
    m_hold = makeButton("HOLD", kHoldButton);
    m_hold->AddClickListener(MakeDelegate<ButtonListenerArgs>(this, &RorezoZavu::OnHoldClick));

    m_pickPosition.reset(new HSlider3);
    m_pickPosition->SetBounds(kPickPosition);
    m_pickPosition->SetRange(-7, 7);
    AddChild(m_pickPosition.get());
    m_controllers.Add(RangeController_for_IRnC::Bind(m_rnc.get(), rncPickPosition, m_pickPosition.get()));

    TooltipViewer* line = m_display->Status();
    line->AddTooltip(new TooltipNotifier(m_auto.get(), "Auto fret position"));
    line->AddTooltip(new TooltipNotifier(m_hold.get(), "Hold mode"));
    line->AddTooltip(new TooltipNotifier(m_pickPosition.get(), "Pick position"));

    // Last, so an open panel lies over everything it reaches.
    MakeTabPanels();
    BindTabPanels();

    SelectMacromode(GetMacromode());
    PlayModeUpdate();

    // The engine's messages on the status line; the line owns the notifier.
    m_display->Status()->AddTooltip(new StrokeNotifier(this, m_rnc.get(), &m_thread));
}

RorezoZavu::~RorezoZavu() {
    if (!IsClosed())
        OnDestroy();
    m_alive->Clear();
    DetachHost();
    // Waits for a playback call still running on the engine's thread.
    m_rnc->RemovePlaybackListener(&m_playbackReceiver);
    m_controllers.Clear();
    // What listens to the proxies goes while they are still there.
    m_samplerStatus.reset();
    m_display.reset();
    m_macromodes.reset();
    for (auto& c : m_containers)
        c.reset();
    m_about.reset(); // closes the about box, a child of the view
    m_leftTabs.reset();
    m_rightTabs.reset();
    // The adapters go before the panes they watch and the site they use.
    m_wah.reset();
    m_samplerSite->RemoveObserver(m_adapters.get());
    m_adapters.reset();
    m_samplerSite.reset();
    m_builtPanes.Clear();
    m_accent = nullptr;
    m_neck.reset();
    m_keyboard.reset();
    m_auto.reset();
    m_hold.reset();
    m_pickPosition.reset();
    m_site.SetRnC(nullptr);
    m_site.SetGuitar(nullptr);
    m_site.SetSampler(nullptr);
}

bool RorezoZavu::AttachHost(ICorvellHost* host) {
    DetachHost();
    if (!host)
        return false;
    m_host = host;
    for (auto& n : m_interfaces)
        n.iface = host->GetInterface(n.name);
    m_guitar->Attach(static_cast<IGuitar*>(EngineInterface("IGuitar")));
    m_sampler->Attach(static_cast<ISampler*>(EngineInterface("ISampler")));
    m_rnc->Attach(static_cast<IRnC*>(EngineInterface("IRnC")));
    if ((m_listenedPars = static_cast<IDizuvozaPars*>(EngineInterface("IDizuvozaPars"))))
        m_listenedPars->AddParameterListener(m_gameControllerListener.Get());
    if ((m_listenedKnobs = static_cast<GuitarUI::Knobs*>(EngineInterface("GuitarUI::Knobs"))))
        m_listenedKnobs->AddChangedListener(m_knobListener.Get());
    ShowNoteNames();
    // The game-controller switch is not part of the proxy's reset.
    OnPlayModeChanged(m_rnc->GetParameter(rncPlayMode));
    Invalidate(LocalBounds());
    return true;
}

void RorezoZavu::DetachHost() {
    if (!m_host)
        return;
    if (m_listenedPars)
        m_listenedPars->RemoveParameterListener(m_gameControllerListener.Get());
    m_listenedPars = nullptr;
    if (m_listenedKnobs)
        m_listenedKnobs->RemoveChangedListener(m_knobListener.Get());
    m_listenedKnobs = nullptr;
    m_guitar->Attach(nullptr);
    m_sampler->Attach(nullptr);
    m_rnc->Attach(nullptr);
    for (auto& n : m_interfaces)
        n.iface = nullptr;
    m_host = nullptr;
}

void* RorezoZavu::EngineInterface(const char* name) const {
    for (const auto& n : m_interfaces)
        if (name && std::strcmp(n.name, name) == 0)
            return n.iface;
    return nullptr;
}

void RorezoZavu::ViewSite::OnRnCParameterChanged(ERnCPars par) {
    if (par == rncPlayMode) {
        const int mode = m_view->m_rnc->GetParameter(rncPlayMode);
        auto* knobs = static_cast<GuitarUI::Knobs*>(m_view->EngineInterface("GuitarUI::Knobs"));
        if (knobs && mode >= 1 && mode <= 5)
            knobs->SetKnob(GuitarUI::Knobs::LastSequencerMode, mode);
    }
    UiProxySite::OnRnCParameterChanged(par);
}

void RorezoZavu::ViewSite::HandleRnCParameter(ERnCPars par) {
    PaneGuard alive(m_view);
    UiProxySite::HandleRnCParameter(par);
    if (alive.IsAlive())
        m_view->OnRnCParameter(par);
}

// A reset is every parameter changing, in ascending order.
void RorezoZavu::ViewSite::ReplayResets() {
    PaneGuard alive(m_view);
    HandleRnCReset();
    if (alive.IsAlive())
        HandleSamplerReset();
}

void RorezoZavu::ViewSite::HandleRnCReset() {
    PaneGuard alive(m_view);
    UiProxySite::HandleRnCReset();
    for (int par = 0; par < rncParCount && alive.IsAlive(); ++par)
        m_view->OnRnCParameter(static_cast<ERnCPars>(par));
}

void RorezoZavu::OnRnCParameter(ERnCPars par) {
    PaneGuard alive(this);
    switch (par) {
    case rncPlayMode:
    case rncPatternMode:
        // Only shows what the engine holds: a notice never writes back.
        OnPlayModeChanged(m_rnc->GetParameter(rncPlayMode));
        if (alive.IsAlive())
            ShowHold();
        break;
    case rncHold:
    case rncSoloHold:
    case rncSilentMode:
        // Silent mode decides which of the two HOLD shows.
        ShowHold();
        break;
    default:
        if (par >= Chords::ChordDisplay::kFirstParameter && par <= Chords::ChordDisplay::kLastParameter)
            m_display->Chord()->Update(par, m_rnc->GetParameter(par));
        break;
    }
    if (alive.IsAlive())
        m_controllers.Update(m_rnc.get(), par);
}

// ---- tab panels ------------------------------------------------------------------

Rect RorezoZavu::KeyboardRect() {
    Ref<Bitmap> kbd = GetImage("kbd.png");
    const int32_t kw = kbd ? kbd->Width() : 0, kh = kbd ? kbd->Height() : 0;
    return Rect{(kWidth - kw) / 2, kHeight - kh - 5, kw, kh};
}

// Seven panels for the sample player's knobs, three on the left strip and
// four on the right, all closed at first. Their controls come from tables
// of their own; here they are the slots.
void RorezoZavu::MakeTabPanels() {
    auto build = [this](TabSwitch& strip, int from, int to, int32_t x) {
        for (int i = from; i < to; ++i) {
            const TabPanels::Tab& tab = TabPanels::kTabList[i];
            Pane* panel = BuildPane(this, tab.panel, m_builtPanes);
            panel->SetBounds(Rect{x, kTabPanelTop, tab.panel.width, tab.panel.height});
            strip.AddTab(tab.name, panel);
        }
    };
    m_leftTabs.reset(new TabSwitch);
    build(*m_leftTabs, 0, TabPanels::kLeftTabs, -kTabPanelOverhang);
    m_rightTabs.reset(new TabSwitch);
    build(*m_rightTabs, TabPanels::kLeftTabs, TabPanels::kTabs, kWidth - kTabPanelSize.width + kTabPanelOverhang);
    m_rightTabs->Place(kRightTabs);
    AddChild(m_rightTabs.get());
    m_leftTabs->Place(kLeftTabs);
    AddChild(m_leftTabs.get());
    m_rightTabs->Select(0);
    m_leftTabs->Select(0);
}

void RorezoZavu::BindTabPanels() {
    m_adapters->AddBindings(this, TabPanels::kBindings, TabPanels::kBindingList);
    m_samplerSite->AddObserver(m_adapters.get());
    m_adapters->CollectTooltips(*m_display->Status());
    m_wah.reset(new WahWahController(m_rnc.get(), FindById(kWahPanelId)));
    m_wah->RegisterTooltips(*m_display->Status());

    // The strum time is a play parameter, not a sampler setting.
    Pane* timing = m_rightTabs->Panel(0);
    if (auto* strum = dynamic_cast<HSlider*>(timing ? timing->FindById(kStrumTimeId) : nullptr)) {
        strum->SetRange(kStrumTimeMin, kStrumTimeMax);
        m_controllers.Add(RangeController_for_IRnC::Bind(m_rnc.get(), rncStrumTime, strum));
        m_display->Status()->AddTooltip(new NotifyingRangeControl(strum, "Strum time", strum, " ms"));
    }
}

// ---- macromodes ---------------------------------------------------------------

namespace {
constexpr int kGameControllerOn = 0; // game-controller parameter: its view is on
constexpr int kLastPlayModeKnob = 4;  // knob: the last sequencer play mode
constexpr int kDirectPlayMode = 6;
constexpr int kMidiGuitarPlayMode = 9;
bool IsSequencerPlayMode(int mode) { return mode >= 1 && mode <= 5; }
} // namespace

int RorezoZavu::GameControllerSwitch() {
    auto* pars = static_cast<IDizuvozaPars*>(EngineInterface("IDizuvozaPars"));
    return pars ? pars->GetParameter(kGameControllerOn) : 0;
}

int RorezoZavu::GetMacromode() {
    if (GameControllerSwitch() != 0)
        return kJoystick;
    const int mode = m_rnc->GetParameter(rncPlayMode);
    if (mode == kDirectPlayMode)
        return kDirect;
    if (mode == kMidiGuitarPlayMode)
        return kGuitar;
    return m_rnc->GetParameter(rncPatternMode) != 0 ? kPattern : kMidi;
}

PageContainer* RorezoZavu::Pages(int m) const {
    return m == kJoystick ? nullptr : static_cast<PageContainer*>(Container(m));
}

Pane* RorezoZavu::MakeContainer(int m) {
    auto& slot = m_containers[size_t(m)];
    if (slot)
        return slot.get();
    static const std::vector<const char*> kSequencerTabs = {"Solo", "Harmony", "Chords", "Bass'n'Chord",
                                                            "Bass'n'Pick"};
    auto clicks = [this, m](int index) { OnPlayModeTab(m, index); };
    switch (m) {
    case kMidi:
    case kPattern:
        slot.reset(new PageContainer(kContainerArea, kContainerColor, kSequencerTabs, Fn<int>(clicks)));
        break;
    case kGuitar:
        slot.reset(new PageContainer(kMidiGuitarArea, kContainerColor, {"Solo"}, nullptr));
        static_cast<PageContainer*>(slot.get())->Select(0);
        break;
    case kDirect:
        slot.reset(new PageContainer(kContainerArea, kContainerColor, {"Direct"}, nullptr));
        static_cast<PageContainer*>(slot.get())->Select(0);
        break;
    default: // the game-controller view goes here
        slot.reset(new Pane);
        slot->SetBounds(kContainerArea);
        slot->SetBackground(kContainerColor);
        break;
    }
    if (auto* pages = Pages(m))
        for (int i = 0; i < pages->GetCount(); ++i) // a press of a play-mode tab is one edit
            pages->Tab(i)->SetPressObserver(Ref<NotifyListener>(new NotifyHandler_for_IRnC(m_rnc.get(), rncPlayMode)));
    slot->SetVisible(false);
    AddChild(slot.get());
    return slot.get();
}

void RorezoZavu::OnGameControllerNotice(int id, int) {
    if (id != kGameControllerOn)
        return;
    // Any thread: the switch is shown on the window's thread, if the view
    // is still there by then.
    m_site.RunOnUiThread(Fn([alive = m_alive] {
        if (auto* view = static_cast<RorezoZavu*>(alive->Target()))
            view->OnGameControllerSwitch();
    }));
}

void RorezoZavu::ShowNoteNames() {
    auto* knobs = static_cast<GuitarUI::Knobs*>(EngineInterface("GuitarUI::Knobs"));
    m_display->Chord()->SetSharpNames(!knobs || knobs->GetKnob(GuitarUI::Knobs::FlatNames) == 0);
}

void RorezoZavu::OnGameControllerSwitch() {
    // Switched off by the user's own choice of another macromode: that
    // choice shows itself.
    if (GameControllerSwitch() == 0 && m_inMacromodeSelection)
        return;
    OnPlayModeChanged(m_rnc->GetParameter(rncPlayMode));
}

void RorezoZavu::OnPlayModeTab(int macromode, int index) {
    PaneGuard alive(this);
    m_rnc->SetParameter(rncPlayMode, index + 1);
    if (alive.IsAlive() && macromode == kPattern)
        OnPlayModeChanged(m_rnc->GetParameter(rncPlayMode));
}

void RorezoZavu::SelectPage(int mode) {
    if (auto* pages = Pages(kMidi))
        pages->Select(mode - 1);
    PlayModeUpdate();
}

void RorezoZavu::SelectMacromode(int m) {
    m_macromodes->SetSelected(m);
    if (m == kJoystick || m == kGuitar || m == kDirect)
        MakeContainer(m);
    for (int i = 0; i < kMacromodes; ++i)
        if (Pane* c = Container(i))
            c->SetVisible(i == m);
    if (m != kGuitar && m_containers[kGuitar]) {
        // Left: the MIDI-guitar container goes. It may be running one of
        // its own handlers, so it is deleted once this call is over.
        std::shared_ptr<Pane> gone(m_containers[kGuitar].release());
        RemoveChild(gone.get());
        PostDeferred(Fn([gone] {}));
    }
    Invalidate(LocalBounds());
}

void RorezoZavu::OnMacromodeSelection(int m) {
    if (m < 0 || m >= kMacromodes)
        return;
    PaneGuard alive(this);
    m_inMacromodeSelection = true;
    auto* pars = static_cast<IDizuvozaPars*>(EngineInterface("IDizuvozaPars"));
    auto* knobs = static_cast<GuitarUI::Knobs*>(EngineInterface("GuitarUI::Knobs"));
    const int mode = m_rnc->GetParameter(rncPlayMode);
    if (m != kMidi && m != kPattern && knobs && IsSequencerPlayMode(mode))
        knobs->SetKnob(kLastPlayModeKnob, mode); // remembered for the way back
    if (m != kJoystick && pars && pars->GetParameter(kGameControllerOn) != 0)
        pars->SetParameter(kGameControllerOn, 0);
    switch (m) {
    case kMidi:
    case kPattern: {
        const int last = knobs ? knobs->GetKnob(kLastPlayModeKnob) : 0;
        if (IsSequencerPlayMode(last))
            m_rnc->SetParameter(rncPlayMode, last);
        m_rnc->SetParameter(rncPatternMode, m);
        break;
    }
    case kJoystick:
        if (pars)
            pars->SetParameter(kGameControllerOn, 1);
        m_rnc->SetParameter(rncPatternMode, 0);
        break;
    case kGuitar:
        m_rnc->SetParameter(rncPlayMode, kMidiGuitarPlayMode);
        m_rnc->SetParameter(rncPatternMode, 0);
        break;
    case kDirect:
        m_rnc->SetParameter(rncPlayMode, kDirectPlayMode);
        m_rnc->SetParameter(rncPatternMode, 0);
        break;
    }
    if (!alive.IsAlive())
        return;
    m_inMacromodeSelection = false;
    // An engine that tells nothing of an unchanged value would leave the
    // view on the old macromode.
    if (m_macromodes->GetSelected() != GetMacromode())
        OnPlayModeChanged(m_rnc->GetParameter(rncPlayMode));
}

void RorezoZavu::OnPlayModeChanged(int mode) {
    const int m = GetMacromode();
    SelectMacromode(m);
    if (m == kPattern) {
        if (auto* pages = Pages(kPattern))
            pages->Select(mode - 1);
        PlayModeUpdate();
    } else if (m == kGuitar) {
        PlayModeUpdate();
    } else {
        SelectPage(mode);
    }
}

void RorezoZavu::PlayModeUpdate() {
    const int mode = m_rnc->GetParameter(rncPlayMode);
    const bool autoAllowed = mode == 1 || mode == 2 || mode == kMidiGuitarPlayMode;
    m_auto->SetEnabled(autoAllowed);
    if (!autoAllowed) {
        m_auto->ToggleButton::SetOn(false);
        // Written only when on: an editor that opens changes nothing that
        // is already so.
        if (m_rnc->GetParameter(rncAutoFretPosition) != 0)
            m_rnc->SetParameter(rncAutoFretPosition, 0);
    }
    if (mode == 1 && m_rnc->GetParameter(rncHold) != 0 && m_rnc->GetParameter(kSilentMode) == 0)
        m_rnc->SetParameter(rncHold, 0);
    ShowHold();
}

ERnCPars RorezoZavu::HoldParameter() {
    return m_rnc->GetParameter(rncPlayMode) == 1 && m_rnc->GetParameter(kSilentMode) == 0 ? rncSoloHold : rncHold;
}

void RorezoZavu::ShowHold() { m_hold->ToggleButton::SetOn(m_rnc->GetParameter(HoldParameter()) != 0); }

void RorezoZavu::OnHoldClick(ButtonListenerArgs args) {
    if (args.mouseButton != kButtonLeft)
        return;
    const ERnCPars par = HoldParameter();
    m_rnc->TouchParameter(par, true);
    m_rnc->SetParameter(par, m_hold->IsOn() ? 0 : 1);
    m_rnc->TouchParameter(par, false);
}

// ---- playback ------------------------------------------------------------------

void RorezoZavu::QueuePlayback(SPlaybackEvent e) {
    bool post = false;
    {
        LockGuard g(m_playbackLock);
        if (m_pendingEvents.size() >= kMaxPendingEvents)
            m_pendingEvents.pop_front();
        m_pendingEvents.push_back(e);
        if (!m_flushPosted)
            post = m_flushPosted = true;
    }
    if (post)
        PostDeferred(m_flush);
}

void RorezoZavu::FlushPlayback() {
    std::deque<SPlaybackEvent> events;
    {
        LockGuard g(m_playbackLock);
        events.swap(m_pendingEvents);
        m_flushPosted = false;
    }
    Ref<MulticastDelegate1<SPlaybackEvent>> listeners = m_playbackListeners;
    PaneGuard alive(this);
    for (const SPlaybackEvent& e : events) {
        if (!alive.IsAlive() || listeners->IsEmpty())
            return;
        listeners->Invoke(e);
    }
}

void RorezoZavu::DropPendingPlayback() {
    LockGuard g(m_playbackLock);
    m_pendingEvents.clear();
    m_flushPosted = false;
}

size_t RorezoZavu::PendingPlaybackEvents() {
    LockGuard g(m_playbackLock);
    return m_pendingEvents.size();
}

void RorezoZavu::OnDestroy() {
    DropPendingPlayback();
    Pane::OnDestroy();
}

void RorezoZavu::OnWindowCreated() {
    // A flush posted while there was no window went nowhere.
    DropPendingPlayback();
    Pane::OnWindowCreated();
    m_display->Selector()->Refresh();
    // The resets of the attach were posted to no window: the sampler's
    // read-outs, the panels' ranges and every bound control are read now.
    m_site.ReplayResets();
    ShowNoteNames();
}

namespace {
// Draws image centred in r; nothing when it is missing.
void DrawCentred(GraphicsContext& gc, const char* name, const Rect& r) {
    Ref<Bitmap> image = GetImage(name);
    if (!image || image->Width() <= 0)
        return;
    gc.DrawImage(Point{r.x + (r.width - image->Width()) / 2, r.y + (r.height - image->Height()) / 2}, image.Get());
}
} // namespace

void RorezoZavu::Paint(GraphicsContext& gc) {
    // The panel over the background, as one image: one copy per paint.
    Ref<Bitmap> panel = GetImage("bkgnd-panel.png");
    const int32_t panelTop = kHeight - (panel ? panel->Height() : 0);
    if (auto image = GetComposedImage("bkgnd-tarrow.png", "bkgnd-panel.png", Point{0, panelTop}))
        gc.DrawImage(Point{0, 0}, image.Get());
    DrawCentred(gc, "logo-tarrow.png", kLogo);
    DrawCentred(gc, "cv.png", kMakerLogo);
    if (m_keyboard && m_keyboard->IsVisible() && !m_keyboard->GetBounds().IsEmpty()) {
        // The keyboard's frame, with a box at each end.
        const Rect k = m_keyboard->GetBounds();
        const Rect f{k.x - 33, k.y - 1, k.width + 66, k.height + 2};
        gc.DrawRect(Rect{k.x - 1, k.y - 1, k.width + 2, k.height + 2}, Color(0x111111));
        gc.DrawRect(f, Color(0x111111));
        const Color edge = GetColor(3);
        gc.DrawRect(Rect{f.x + 1, f.y + 1, 31, f.height - 2}, edge);
        gc.DrawRect(Rect{f.x + f.width - 32, f.y + 1, 31, f.height - 2}, edge);
        gc.DrawRect(Rect{f.x - 1, f.y - 1, f.width + 2, f.height + 2}, edge);
    }
}

void RorezoZavu::PaintAll(GraphicsContext& gc) {
    FontScope scope(gc, m_font.Get());
    Pane::PaintAll(gc);
}

} // namespace Corvell
