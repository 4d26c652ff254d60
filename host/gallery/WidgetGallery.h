#pragma once
// Every widget family of the toolkit in each of its states, bound to the
// play-logic parameters of an engine: a page for people to look at the
// toolkit and try it. Platform-free; the host puts it in a window.
#include "binding/CVRnC.h"
#include "binding/UiProxySite.h"
#include "ui/Button.h"
#include "ui/ControlSite.h"
#include "ui/Pane.h"

#include <functional>
#include <memory>
#include <vector>

namespace Corvell {

class BasicPopupPane;
class GeneratedListSource;
class GeneratedTree;
class GeneratedTreeSource;
class Combo;
class EditCombo;
class ToggleButton;
class TooltipViewer;

class WidgetGallery : public Pane {
public:
    // One widget shown in the gallery: its family, the state it shows and
    // the pane (the widget itself).
    struct Item {
        const char* family;
        const char* state;
        Pane* pane;
    };

    static constexpr int32_t kWidth = 1100;
    static constexpr int32_t kHeight = 1600;
    static constexpr Color kButtonFace = 0x00585048;
    static constexpr int32_t kLineLeft = 10; // the help line's margin
    static constexpr int32_t kMargin = 10;
    // The column of the list and the tree, right of the other sections.
    static constexpr int32_t kListLeft = 810;
    static constexpr int32_t kListWidth = 280;

    WidgetGallery();
    ~WidgetGallery() override;

    // The engine whose parameters the widgets show and change; null
    // detaches (the widgets then show the proxy's defaults).
    void Attach(IRnC* engine);

    // Places the gallery and builds every widget in its state.
    void Create(Pane* parent, const Rect& bounds) override;
    void OnDestroy() override;
    void Paint(GraphicsContext& gc) override;

    const std::vector<Item>& Items() const { return m_items; }
    // The widgets of one family, in the order of their states.
    std::vector<Item> Family(const char* family) const;

private:
    class Thread : public UiThread {
    public:
        explicit Thread(Pane* p) : m_pane(p) {}
        bool IsUiThread() override { return m_pane->IsUiThread(); }
        void Post(Ref<Delegate> call) override { m_pane->PostDeferred(std::move(call)); }

    private:
        Pane* m_pane;
    };

    // The parameters as bound controls see them, with the ranges the
    // controls give them.
    class Parameters : public ControlSite {
    public:
        explicit Parameters(IRnC& rnc) : m_rnc(rnc) {}
        int32_t GetValue(int32_t id) override;
        void SetValue(int32_t id, int32_t value) override;
        void GetInfo(int32_t id, ControlInfo* out) override;
        // Play parameters have no switches and tell their listeners
        // through the gallery's own bindings.
        bool GetSwitch(int32_t) override { return false; }
        void SetSwitch(int32_t, bool) override {}
        void BeginEdit(int32_t id) override;
        void EndEdit(int32_t id) override;
        void AddListener(int32_t, Delegate*) override {}
        void RemoveListener(int32_t, Delegate*) override {}

    private:
        IRnC& m_rnc;
    };

    // What shows a parameter: called on the window's thread when it changes.
    struct Binding {
        ERnCPars par;
        std::function<void()> refresh;
    };

    struct Toggle {
        Button* button;
        ERnCPars par;
    };

    struct Heading {
        Rect rect;
        const char* text;
        bool title;
    };

    void Build();
    void BuildButtons(int32_t& y);
    void BuildSliders(int32_t& y);
    // Plain panes and labels (WidgetGalleryLabels.cpp).
    void BuildLabels(int32_t& y);
    // The number editors bound to parameters of the engine, and names to
    // rename in place (WidgetGalleryEditors.cpp).
    void BuildEditors(int32_t& y);
    // Combos over the engine's lists, names renamed in place and the
    // popups' openers (WidgetGalleryCombos.cpp).
    void BuildCombos(int32_t& y);
    // Tab switches closed and open over their panels, and a control panel
    // in each image mode (WidgetGalleryPanels.cpp).
    void BuildPanels(int32_t& y);
    // Two chord editors, the chord display they feed and the note picker
    // in both namings (WidgetGalleryChords.cpp).
    void BuildChords(int32_t& y);
    // The electric controller panel in each of its kinds (WidgetGalleryChords.cpp).
    void BuildControllerPanels(int32_t& y);
    // An effect slot pane and the velocity-effect view (WidgetGalleryChords.cpp).
    void BuildEffects(int32_t& y);
    // The capo's positions as the engine gives them, the current one selected.
    void FillCapos(Combo* combo);
    // The selection follows par; a choice is one edit of it.
    void BindCombo(Combo* combo, ERnCPars par);
    // An editable combo took a typed name.
    void NoteRename();
    // The list of 100,000 rows and the tree of 10,000 nodes, down to
    // bottom (WidgetGalleryLists.cpp).
    void BuildLists(int32_t bottom);
    // The help line, with a tooltip for every widget built before it
    // (WidgetGalleryTooltips.cpp).
    void BuildTooltips(int32_t& y);
    // A button in the last column of row y that opens a popup.
    void PlaceOpener(int32_t y, bool modal);
    void OpenPopup(Button* opener, bool modal);
    // Adds the widget to the tree and the item list.
    void Place(Pane* widget, const char* family, const char* state, const Rect& r);
    void Headings(int32_t& y, const char* title, const char* const* states, int32_t count);
    // Puts a button in the look of a state column, with the events a
    // pointer would send.
    void ShowState(Button* b, int32_t column);
    void SetToggle(ToggleButton* b, bool on);
    // The widgets ask; the engine's notice changes what they show.
    void OnCapoClick(ButtonListenerArgs args);
    void OnToggleClick(ButtonListenerArgs args);
    // Writes one complete edit of par.
    void Write(ERnCPars par, int32_t value);
    void OnParameter(ERnCPars par);
    void RefreshAll();
    Rect Cell(int32_t column, int32_t y, int32_t width, int32_t height, int32_t rowHeight) const;

    Thread m_thread{this};
    UiProxySite m_site{&m_thread};
    std::unique_ptr<CVRnC> m_rnc;
    std::unique_ptr<Parameters> m_parameters;
    Ref<Delegate1<ERnCPars>> m_listener;
    std::vector<std::unique_ptr<Pane>> m_widgets;
    std::vector<Item> m_items;
    std::vector<Binding> m_bindings;
    std::vector<Toggle> m_toggles;
    std::vector<Heading> m_headings;
    std::vector<EditCombo*> m_renames;
    // What the list and the tree show; they outlive the views.
    std::unique_ptr<GeneratedListSource> m_listData;
    std::unique_ptr<GeneratedTree> m_tree;
    std::unique_ptr<GeneratedTreeSource> m_treeData;
    // The help line (one of the widgets); it owns the tooltips.
    TooltipViewer* m_tooltips = nullptr;
    // The popup that is open, if any; it deletes itself when it closes.
    BasicPopupPane* m_popup = nullptr;
};

} // namespace Corvell
