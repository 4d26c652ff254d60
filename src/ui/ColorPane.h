#pragma once
#include "shared/Graphics/Color.h"
#include "ui/Pane.h"

namespace Corvell {

// A plain background: fills its bounds with one colour, enabled or not.
class ColorPane : public Pane {
public:
    explicit ColorPane(Color color);

    Color GetColor() const { return m_color; }

    void Paint(GraphicsContext& gc) override;

private:
    Color m_color;
};

} // namespace Corvell
