#pragma once
#include "shared/Graphics/Color.h"
#include "ui/Pane.h"

namespace Corvell {

// A panel: filled with its colour and outlined in a dark grey (popup
// contents, framed areas).
class GrayPane : public Pane {
public:
    static constexpr Color kOutline = 0x505050;

    explicit GrayPane(Color color);

    Color GetColor() const { return m_color; }

    void Paint(GraphicsContext& gc) override;

private:
    Color m_color;
};

} // namespace Corvell
