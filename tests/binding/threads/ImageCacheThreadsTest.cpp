// Pages may be made on several threads at once: the image cache and the
// first decode of an image are shared by all of them.
#include "TestImageSource.h"
#include "shared/Graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace Corvell {
namespace {

TEST(ImageCacheThreads, ThreadsLoadDecodeComposeAndClearTheCacheTogether) {
    ::Corvell::Test::TestImageSource images{TARROW_SOURCE_DIR "/src/resources"};
    ClearImageCache();
    const char* names[] = {"kbd.png", "display.png", "mode-tabs.png", "button-normal.png", "cv.png"};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                for (const char* n : names) {
                    Ref<Bitmap> image = GetImage(n); // held: another thread may clear the cache
                    auto* png = dynamic_cast<PngBitmap*>(image.Get());
                    if (!png || !png->Surface() || png->Surface()->Width() != png->Width())
                        ++wrong;
                }
                Ref<Bitmap> bg = GetComposedImage("kbd.png", "cv.png", Point{t, i % 7});
                if (!bg || bg->Width() != 700)
                    ++wrong;
                if (t == 0 && i % 10 == 0)
                    ClearImageCache();
            }
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(wrong.load(), 0);
    ClearImageCache();
}

} // namespace
} // namespace Corvell
