#pragma once
// The area over the view's logos: a click opens the about box, the about
// image with the version under the logo. A click on the box, outside it,
// or Escape closes it.
#include "ui/Button.h"
#include "ui/PopupPane.h"

namespace Corvell {

class AboutOpener : public Button {
public:
    static constexpr int32_t kVersionHeight = 20; // the version line at the image's foot

    AboutOpener();
    ~AboutOpener() override;

    // Over the logos: nothing of its own to draw.
    void Paint(GraphicsContext&) override {}

    void Open();
    void CloseAbout();
    // The open box, or null.
    BasicPopupPane* Popup() const { return m_popup; }
    static const char* VersionText();

private:
    BasicPopupPane* m_popup = nullptr;
};

} // namespace Corvell
