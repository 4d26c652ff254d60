#pragma once
#include "ui/SelectableButton.h"

namespace Corvell {

// A text button with an embossed look: a black shadow one pixel above the
// caption, bold, in palette colour 1 while pressed.
class EmbossedButton : public SelectableButton {
public:
    explicit EmbossedButton(const String& caption = String());
};

} // namespace Corvell
