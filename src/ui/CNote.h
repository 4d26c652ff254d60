#pragma once
// A note field of the chord editor: the note's name (or a placeholder when
// there is none) with a drop-down arrow at the right edge. A click opens
// the note picker; the field itself only shows.
#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/GraphicsObjects.h"
#include "ui/Button.h"
#include "ui/core/String.h"

namespace Corvell {

class CNote : public Button {
public:
    // placeholder: shown without a note; prefix: put before the note's name.
    CNote(const String& placeholder, const String& prefix);

    // -1 for none; anything outside 0..11 counts as none.
    void SetPitch(int32_t pc);
    int32_t GetPitch() const { return m_pitch; }
    void SetFlatNames(bool flats);
    bool GetFlatNames() const { return m_flats; }
    const String& GetPlaceholder() const { return m_placeholder; }
    const String& GetPrefix() const { return m_prefix; }

    void Paint(GraphicsContext& gc) override;

private:
    int32_t m_pitch = -1;
    bool m_flats = false;
    String m_placeholder;
    String m_prefix;
    Ref<Bitmap> m_arrow;
    Ref<Font> m_regular;
    Ref<Font> m_bold;
    Ref<Font> m_small;
};

} // namespace Corvell
