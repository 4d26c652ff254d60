// The editors of the gallery: number editors on parameters of the engine,
// and names to rename in place.
#include "gallery/NameField.h"
#include "gallery/WidgetGallery.h"

#include "shared/Graphics/GraphicsContext.h"
#include "ui/NoteNumEditor.h"
#include "ui/NumEditor.h"
#include "ui/NumberEditor.h"
#include "ui/TextEditorImpl.h"

#include <functional>
#include <utility>

namespace Corvell {

namespace {

constexpr int32_t kEditorRow = 26;
constexpr Color kFieldFace = 0x00201c18;
constexpr Color kFieldFaceDisabled = 0x00383430;
constexpr Color kFieldText = 0x00e8e8e8;
constexpr Color kFieldTextDisabled = 0x00707070;

const char* const kNumberStates[] = {"normal", "inverted", "one value", "disabled"};
const char* const kNameStates[] = {"normal", "long name", "disabled"};
enum NumberColumn { kNormal, kInverted, kOneValue, kDisabled };

// Tells the engine of each edit: every spin step (and every typed value)
// is one complete edit.
class EngineEdits : public CountedObject<RangeControlListener> {
public:
    using Fn = std::function<void(RangeControl*)>;
    EngineEdits(Fn begin, Fn changed, Fn end)
        : m_begin(std::move(begin)), m_changed(std::move(changed)), m_end(std::move(end)) {}
    void Begin(RangeControl* c) override { m_begin(c); }
    void Changed(RangeControl* c) override { m_changed(c); }
    void End(RangeControl* c) override { m_end(c); }

private:
    Fn m_begin, m_changed, m_end;
};

// The parameters the rows show, with the ranges the engine gives them.
struct NumberRow {
    const char* family;
    std::function<NumEditor*()> make;
    ERnCPars par;         // normal and disabled columns
    ERnCPars invertedPar; // shown high to low
    int32_t minimum, maximum;
    int32_t invertedMinimum, invertedMaximum;
    int32_t oneValue; // the fixed value of the "one value" column
};

} // namespace

// ---- the name field ---------------------------------------------------------------

NameField::NameField(const char* name) : m_name(name) {}

void NameField::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    const Rect& b = GetBounds();
    const bool enabled = IsEffectivelyEnabled();
    gc.FillRect(Rect{0, 0, b.width, b.height}, enabled ? m_face : kFieldFaceDisabled);
    const Color saved = gc.GetTextColor();
    gc.SetTextColor(enabled ? m_text : kFieldTextDisabled);
    gc.DrawText(m_name, Rect{3, 0, b.width - 6, b.height}, kTextVCenter | kTextSingleLine);
    gc.SetTextColor(saved);
}

void NameField::OnMouseEvent(MouseEvent& e) {
    PaneGuard self(this);
    if (e.type == kMouseDown && e.button == kButtonLeft && e.clickCount == 2)
        BeginRename();
    if (self.IsAlive())
        Pane::OnMouseEvent(e);
}

void NameField::BeginRename() { OpenEditor(this, Rect{0, 0, GetBounds().width, GetBounds().height}); }

void NameField::CommitEdit(const String& text) {
    m_name = text;
    InvalidateAll();
}

void NameField::EditFinished() {
    ForgetEditor();
    InvalidateAll();
}

void NameField::EditCancelled() {
    ForgetEditor();
    InvalidateAll();
}

// ---- the section -------------------------------------------------------------------

void WidgetGallery::BuildEditors(int32_t& y) {
    Headings(y, "Number editors", kNumberStates, 4);

    // Each spin step is one edit through the same site the sliders write to.
    auto engineEdits = [this](ERnCPars par) {
        return new EngineEdits([this, par](RangeControl*) { m_parameters->BeginEdit(par); },
                               [this, par](RangeControl* c) { m_parameters->SetValue(par, c->GetValue()); },
                               [this, par](RangeControl*) { m_parameters->EndEdit(par); });
    };

    const NumberRow rows[] = {
        // Strum time (ms), the capo (shared with the capo button), the keyboard's lowest and highest notes.
        {"NumEditor", [] { return new NumEditor; }, rncStrumTime, rncStrumTime, 20, 60, 20, 60, 42},
        {"NumberEditor", [] { return static_cast<NumEditor*>(new NumberEditor); }, rncCapo, rncCapo, 0, 22, 0, 22,
         5},
        {"NoteNumEditor", [] { return static_cast<NumEditor*>(new NoteNumEditor); }, rncKeyboardLow,
         rncKeyboardHigh, 24, 48, 72, 96, 60},
    };
    for (const NumberRow& row : rows) {
        for (int32_t c = 0; c < 4; ++c) {
            NumEditor* e = row.make();
            e->SetBackground(kFieldFace);
            e->SetDisabledBackground(kFieldFaceDisabled);
            e->SetFlags(Pane::kFillBackground | Pane::kFillDisabled, true);
            Place(e, row.family, kNumberStates[c], Cell(c, y, 64, 20, kEditorRow));
            if (c == kOneValue) {
                e->SetRange(row.oneValue, row.oneValue);
                continue;
            }
            const ERnCPars par = c == kInverted ? row.invertedPar : row.par;
            if (c == kInverted)
                e->SetRange(row.invertedMaximum, row.invertedMinimum);
            else
                e->SetRange(row.minimum, row.maximum);
            e->AddListener(engineEdits(par));
            m_bindings.push_back(Binding{par, [this, e, par] { e->SetValue(m_rnc->GetParameter(par)); }});
            if (c == kDisabled)
                e->SetEnabled(false);
        }
        y += kEditorRow;
    }

    Headings(y, "Text editor", kNameStates, 3);
    const char* const names[] = {"Verse A", "A pattern name far longer than it may be", "Factory bank"};
    for (int32_t c = 0; c < 3; ++c) {
        auto* field = new NameField(names[c]);
        field->SetColors(kFieldFace, kFieldText);
        Place(field, "TextEditor", kNameStates[c], Cell(c, y, 120, 20, kEditorRow));
        if (c == 2)
            field->SetEnabled(false);
    }
    y += kEditorRow;
}

} // namespace Corvell
