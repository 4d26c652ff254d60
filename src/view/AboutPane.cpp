#include "view/AboutPane.h"

#include "shared/Graphics/Palette.h"
#include "ui/core/FunctionDelegate.h"

#ifndef TARROW_VERSION_TEXT
#define TARROW_VERSION_TEXT "0.0.0"
#endif

namespace Corvell {

namespace {
constexpr const char* kImage = "about-tarrow.png";

// The box's content: the image and the version; a click closes the box.
class AboutContent : public Button {
public:
    explicit AboutContent(BasicPopupPane* popup) : m_popup(popup), m_image(GetImage(kImage)) {
        AddClickListener(Fn<ButtonListenerArgs>([popup](ButtonListenerArgs) { popup->PostClose(); }));
    }
    void Paint(GraphicsContext& gc) override {
        const Rect r = LocalBounds();
        if (m_image && m_image->Width() > 0)
            gc.DrawImage(Point{0, 0}, m_image.Get());
        else
            gc.FillRect(r, GetColor(9));
        gc.SetTextColor(GetColor(8));
        gc.DrawText(AboutOpener::VersionText(),
                    Rect{0, r.height - AboutOpener::kVersionHeight - 4, r.width, AboutOpener::kVersionHeight},
                    kTextCenter | kTextVCenter | kTextSingleLine | kTextNoPrefix);
    }

private:
    BasicPopupPane* m_popup;
    Ref<Bitmap> m_image;
};
} // namespace

AboutOpener::AboutOpener() {
    AddClickListener(Fn<ButtonListenerArgs>([this](ButtonListenerArgs args) {
        if (args.mouseButton == kButtonLeft)
            Open();
    }));
}

AboutOpener::~AboutOpener() { CloseAbout(); }

const char* AboutOpener::VersionText() { return "Version " TARROW_VERSION_TEXT; }

void AboutOpener::Open() {
    Pane* view = GetParent();
    if (m_popup || !view)
        return;
    Ref<Bitmap> image = GetImage(kImage);
    const int32_t w = image && image->Width() > 0 ? image->Width() : 300;
    const int32_t h = image && image->Height() > 0 ? image->Height() : 200;
    const Rect area = view->LocalBounds();
    auto* popup = new PaneControllingSubpanes<PopupPane>;
    m_popup = popup;
    popup->SetDeleteOnClose(true);
    popup->AddClosedListener(Fn<BasicPopupPane*>([this](BasicPopupPane*) { m_popup = nullptr; }));
    popup->Create(view, Rect{(area.width - w) / 2, (area.height - h) / 2, w, h});
    auto* content = new AboutContent(popup);
    content->Create(popup, Rect{0, 0, w, h});
    popup->AddSubpane(content, -1);
}

void AboutOpener::CloseAbout() {
    if (BasicPopupPane* p = m_popup) {
        m_popup = nullptr;
        p->Close();
    }
}

} // namespace Corvell
