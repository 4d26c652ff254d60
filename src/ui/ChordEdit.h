#pragma once
// The chord editor: root field, type menu, bass field and position menu in
// one row. It shows a Kord and edits it as the user picks; after each edit
// that changed the chord it tells what changed. Setting a chord from
// outside tells nobody.
#include "ui/CNote.h"
#include "ui/CNoteView.h"
#include "ui/Combo.h"
#include "ui/Pane.h"
#include "ui/PopupPane.h"
#include "ui/core/Chords.h"
#include "ui/core/MulticastDelegate.h"

#include <cstdint>
#include <vector>

namespace Corvell {

class ChordEdit : public Pane {
public:
    using WhatChanged = Chords::WhatChanged;
    using ChangeListener = Delegate1<Chords::WhatChanged>;
    static constexpr int32_t kPickerWidth = 216;
    static constexpr int32_t kPickerHeight = 36;

    // types: the offered chord types, in menu order (copied).
    ChordEdit(const int8_t* types, int32_t count);
    ~ChordEdit() override;

    // Lays the four fields out and fills the two menus.
    void Create(Pane* parent, const Rect& bounds) override;
    void OnDestroy() override;

    void SetKord(const Kord& k);
    const Kord& GetKord() const { return m_kord; }
    // Passed on to the note fields and to the picker.
    void SetFlatNames(bool flats);
    // Closed on a valid chord, the bass goes too.
    void SetBassEnabled(bool enabled);
    bool IsBassEnabled() const { return m_bassEnabled; }

    // A listener may delete the editor.
    void AddChangeListener(Ref<ChangeListener> l) { m_listeners->Add(std::move(l)); }
    bool RemoveChangeListener(ChangeListener* l) { return m_listeners->Remove(l); }

    // ---- the parts ----
    CNote* RootField() { return &m_root; }
    CNote* BassField() { return &m_bass; }
    Combo* TypeMenu() { return &m_type; }
    Combo* PositionMenu() { return &m_position; }
    const std::vector<int8_t>& Types() const { return m_types; }
    // The open picker, or null.
    CNoteView* Picker() const { return m_picker; }
    BasicPopupPane* PickerPopup() const { return m_popup; }
    // Opens the picker above a note field, its note marked.
    void OpenPicker(bool bass);
    void ClosePicker();

    // The field rectangles for a width and height.
    static void Layout(int32_t width, int32_t height, Rect& root, Rect& type, Rect& bass, Rect& position);

private:
    void Refresh();
    void Apply(const Kord& edited, WhatChanged what);
    void OnPicked(bool bass, int pc);
    void OnTypeChosen(int index);
    void OnPositionChosen(int index);

    Kord m_kord;
    std::vector<int8_t> m_types;
    CNote m_root{"", ""};
    CNote m_bass{"/bass", "/"};
    BCombo m_type;
    BCombo m_position;
    BasicPopupPane* m_popup = nullptr;
    CNoteView* m_picker = nullptr;
    bool m_pickingBass = false;
    bool m_flats = false;
    bool m_bassEnabled = true;
    String m_rootNoneText{"no"};
    String m_bassNoneText{"no"};
    Ref<MulticastDelegate1<Chords::WhatChanged>> m_listeners{new MulticastDelegate1<Chords::WhatChanged>};
};

} // namespace Corvell
