#include "ui/EmbossedButton.h"

#include "shared/Graphics/Palette.h"

namespace Corvell {

EmbossedButton::EmbossedButton(const String& caption) {
    SetCaption(caption);
    // The shadow takes the disabled colour field, black; the disabled
    // caption itself keeps the palette colour.
    SetButtonFlags(kShadow | kBold);
    SetPressedTextColor(GetColor(1));
}

} // namespace Corvell
