#include "ui/ChordEdit.h"

#include "shared/Graphics/Bitmap.h"
#include "ui/core/FunctionDelegate.h"

#include <algorithm>

namespace Corvell {

ChordEdit::ChordEdit(const int8_t* types, int32_t count) : m_kord(Chords::ClearedKord()) {
    if (types && count > 0)
        m_types.assign(types, types + count);
    for (Pane* p : {static_cast<Pane*>(&m_root), static_cast<Pane*>(&m_type), static_cast<Pane*>(&m_bass),
                    static_cast<Pane*>(&m_position)})
        AddChild(p);
    m_root.AddClickListener(Fn<ButtonListenerArgs>([this](ButtonListenerArgs a) {
        if (a.mouseButton == kButtonLeft)
            OpenPicker(false);
    }));
    m_bass.AddClickListener(Fn<ButtonListenerArgs>([this](ButtonListenerArgs a) {
        if (a.mouseButton == kButtonLeft)
            OpenPicker(true);
    }));
    const Ref<Bitmap> arrow = GetImage("combo-triangle.png");
    m_type.SetTriangleImage(arrow);
    m_position.SetTriangleImage(arrow);
    m_type.AddSelectionListener(Fn<int>([this](int i) { OnTypeChosen(i); }));
    m_position.AddSelectionListener(Fn<int>([this](int i) { OnPositionChosen(i); }));
}

ChordEdit::~ChordEdit() {
    if (!IsClosed())
        OnDestroy();
    ClosePicker();
}

void ChordEdit::OnDestroy() {
    ClosePicker();
    Pane::OnDestroy();
}

void ChordEdit::Layout(int32_t w, int32_t h, Rect& root, Rect& type, Rect& bass, Rect& position) {
    const int32_t r = w * 44 / 229, t = w * 81 / 229, b = w * 56 / 229, p = w * 39 / 229, g = w * 3 / 229;
    root = Rect{0, 0, r, h};
    type = Rect{r + g, 0, t, h};
    bass = Rect{r + t + 2 * g, 0, b, h};
    position = Rect{r + t + b + 3 * g, 0, p, h};
}

void ChordEdit::Create(Pane* parent, const Rect& bounds) {
    Pane::Create(parent, bounds);
    Rect root, type, bass, position;
    Layout(bounds.width, bounds.height, root, type, bass, position);
    m_root.SetBounds(root);
    m_type.SetBounds(type);
    m_bass.SetBounds(bass);
    m_position.SetBounds(position);
    m_type.Clear();
    for (int8_t t : m_types)
        m_type.AddItem(Chords::MenuTypeName(t));
    m_position.Clear();
    for (int32_t pos = 1; pos <= 4; ++pos)
        m_position.AddItem(Chords::Roman(pos).c_str());
    Refresh();
}

void ChordEdit::SetKord(const Kord& k) {
    m_kord = k;
    Refresh();
}

void ChordEdit::SetFlatNames(bool flats) {
    m_flats = flats;
    m_root.SetFlatNames(flats);
    m_bass.SetFlatNames(flats);
    if (m_picker)
        m_picker->SetFlatNames(flats);
}

void ChordEdit::SetBassEnabled(bool enabled) {
    m_bassEnabled = enabled;
    m_bass.SetEnabled(enabled);
    if (!enabled) {
        if (m_popup && m_pickingBass)
            ClosePicker();
        if (Chords::IsValid(m_kord))
            m_kord.bass = -1;
    }
    Refresh();
}

void ChordEdit::Refresh() {
    if (Chords::IsValid(m_kord)) {
        m_root.SetPitch(m_kord.root);
        m_bass.SetPitch(m_kord.bass);
        const auto at = std::find(m_types.begin(), m_types.end(), m_kord.type);
        // A type the list does not offer is still named.
        m_type.SetEmptyText(Chords::MenuTypeName(m_kord.type));
        m_type.Select(at == m_types.end() ? -1 : int32_t(at - m_types.begin()));
        m_position.Select(Chords::PositionItem(m_kord.pos));
        m_position.SetEnabled(true);
    } else {
        m_root.SetPitch(-1);
        m_bass.SetPitch(-1);
        m_type.SetEmptyText("");
        m_type.Select(-1);
        m_position.Select(-1);
        m_position.SetEnabled(false);
    }
}

void ChordEdit::Apply(const Kord& edited, WhatChanged what) {
    if (what != Chords::kNothing)
        m_kord = edited;
    // Also when nothing changed: a menu shows its choice before it is told.
    Refresh();
    if (what == Chords::kNothing || m_listeners->IsEmpty())
        return;
    Ref<MulticastDelegate1<Chords::WhatChanged>> list = m_listeners;
    list->Invoke(what);
}

void ChordEdit::OpenPicker(bool bass) {
    if (bass && !m_bassEnabled)
        return;
    ClosePicker();
    const Rect field = bass ? m_bass.GetBounds() : m_root.GetBounds();
    auto* popup = new PaneControllingSubpanes<PopupPane>;
    m_popup = popup;
    m_pickingBass = bass;
    popup->SetDeleteOnClose(true);
    popup->AddClosedListener(Fn<BasicPopupPane*>([this, popup](BasicPopupPane*) {
        if (m_popup == popup) {
            m_popup = nullptr;
            m_picker = nullptr;
        }
    }));
    popup->Create(this, Rect{field.x, field.y - kPickerHeight, kPickerWidth, kPickerHeight});
    auto* picker = new CNoteView;
    m_picker = picker;
    picker->SetNoneText(bass ? m_bassNoneText : m_rootNoneText);
    picker->SetFlatNames(m_flats);
    picker->Create(popup, Rect{0, 0, kPickerWidth, kPickerHeight});
    popup->AddSubpane(picker, -1);
    picker->SetSelected(bass ? m_bass.GetPitch() : m_root.GetPitch());
    picker->SetPickListener(Fn<int>([this, bass](int pc) { OnPicked(bass, pc); }));
}

void ChordEdit::ClosePicker() {
    if (BasicPopupPane* p = m_popup) {
        m_popup = nullptr;
        m_picker = nullptr;
        p->Close();
    }
}

void ChordEdit::OnPicked(bool bass, int pc) {
    // The picker's click is still running: it goes once the click is over
    // (or with the editor, which closes it at once).
    if (m_popup)
        m_popup->PostClose();
    Kord k = m_kord;
    const WhatChanged what = bass ? Chords::PickBass(k, pc) : Chords::PickRoot(k, pc);
    Apply(k, what);
}

void ChordEdit::OnTypeChosen(int index) {
    Kord k = m_kord;
    const WhatChanged what =
        index >= 0 && size_t(index) < m_types.size() ? Chords::PickType(k, m_types[size_t(index)]) : Chords::kNothing;
    Apply(k, what);
}

void ChordEdit::OnPositionChosen(int index) {
    Kord k = m_kord;
    Apply(k, Chords::PickPosition(k, index));
}

} // namespace Corvell
