#pragma once
#include "shared/Graphics/Color.h"

#include <cstdint>

namespace Corvell {

// The toolkit's greys: the colour of a palette index, entry 0 (white) for
// an index the palette does not have.
Color GetColor(int32_t index);

// The seven scroll bar colours taken from the palette (indices 0 to 6 of the scroll bar).
const Color* ScrollBarColors();

} // namespace Corvell
