#pragma once
// The chord display: the name of the chord the engine plays, drawn in
// pieces (root letter, accidental, suffix, bass, position), centred. It
// keeps only what is in range and draws nothing without a root and type.
#include "shared/Graphics/Color.h"
#include "shared/Graphics/GraphicsObjects.h"
#include "ui/Pane.h"
#include "ui/core/Chords.h"

namespace Corvell {

class ChordView : public Pane {
public:
    ChordView();

    // par: one of the engine's chord parameters 33..37, v its value.
    void Update(int32_t par, int32_t v);
    void SetSharpNames(bool sharps);
    void SetColor(Color c);
    const Chords::ChordDisplay& State() const { return m_state; }
    bool GetSharpNames() const { return m_sharps; }

    void Paint(GraphicsContext& gc) override;

private:
    Chords::ChordDisplay m_state;
    bool m_sharps = true;
    Color m_color = 0;
    Ref<Font> m_large;
    Ref<Font> m_small;
};

} // namespace Corvell
