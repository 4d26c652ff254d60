#pragma once
#include "shared/Graphics/Color.h"
#include "shared/Graphics/Geometry.h"
#include "ui/Pane.h"
#include "ui/core/String.h"

#include <cstdint>

namespace Corvell {

// A line of text in the context's font, optionally with a shadow one
// pixel up and to the left, optionally turned by an angle. Disabled (or
// inside a disabled parent) it draws in palette colour 2.
class ALabel : public Pane {
public:
    // The face and size of turned text.
    static constexpr const char* kTurnedFace = "Verdana";
    static constexpr float kTurnedPoints = 8.0f;

    ALabel();

    // Each setter repaints the label.
    void SetText(const String& text);
    // DrawText layout bits (GraphicsContext's TextFormat); vertically centred by default.
    void SetFormat(uint32_t format);
    // Without a colour of its own the label draws in the context's text colour.
    void SetTextColor(Color color);
    void SetShadowColor(Color color);
    // Degrees anticlockwise; 0 is horizontal. Turned text ignores the format.
    void SetAngle(float degrees);

    const String& GetText() const { return m_text; }
    uint32_t GetFormat() const { return m_format; }
    Color GetTextColor() const { return m_textColor; }
    Color GetShadowColor() const { return m_shadowColor; }
    float GetAngle() const { return m_angle; }
    bool HasTextColor() const { return m_hasTextColor; }
    bool HasShadow() const { return m_hasShadow; }

    void Paint(GraphicsContext& gc) override;

    // The angle as drawn: within [0, 360), and 0 for an angle that is not a number.
    static float NormalizedAngle(float degrees);
    // Where turned text starts its baseline in r: text rising (angles up
    // to 180) starts on the bottom edge two thirds across, so that a
    // 90-degree label reads upwards from the bottom; text falling starts
    // on the top edge a third across, the mirror image.
    static Point TurnedTextStart(const Rect& r, float normalizedAngle);

private:
    // The text in r, in the context's text colour.
    void DrawLabelText(GraphicsContext& gc, const Rect& r);

    String m_text;
    Color m_textColor = 0;
    Color m_shadowColor = 0;
    float m_angle = 0.0f;
    uint32_t m_format = 0x4;
    bool m_hasTextColor = false;
    bool m_hasShadow = false;
};

// A label as the layouts make them: that text, the format vertically
// centred, palette colour 1 with a black shadow. The caller places it
// with Create(parent, rect) and deletes it.
ALabel* CreateLabel(const String& text, uint32_t format);

} // namespace Corvell
