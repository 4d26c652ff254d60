#pragma once
// The widget gallery in a frame of its own: a root pane bound to a child
// window of the frame, the gallery in it, the images from the editor's DLL.
#include "ui/win32/Win32NativePane.h"

#include "gallery/WidgetGallery.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Corvell {

class GalleryWindow {
public:
    GalleryWindow() = default;
    ~GalleryWindow() { Close(); }
    GalleryWindow(const GalleryWindow&) = delete;
    GalleryWindow& operator=(const GalleryWindow&) = delete;

    // Loads the images of dll (as data), opens the frame and builds the
    // gallery on engine. False, with the reason in Error(), on failure.
    bool Open(IRnC* engine, const char* dll = "TarrowView.dll");
    void Close();
    const std::string& Error() const { return m_error; }

    HWND Frame() const { return m_frame; }
    HWND Child() const { return m_root ? m_root->Hwnd() : nullptr; }
    WidgetGallery& Gallery() { return *m_gallery; }
    RootPane& Root() { return *m_root; }

    // Paints what is pending and reads the child window's pixels.
    bool Capture(std::vector<uint8_t>& rgb);

private:
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool Fail(const char* what);

    HMODULE m_images = nullptr;
    HWND m_frame = nullptr;
    std::unique_ptr<Win32NativePane> m_root;
    std::unique_ptr<WidgetGallery> m_gallery;
    std::string m_error;
};

} // namespace Corvell
