// The list and tree views at different lengths: a full paint of the list
// and one wheel step, and expanding one node of a fully expanded tree, must
// cost the same at 100,000 rows (10,000 nodes) as at 100. Compare the
// figures of each pair.
#include <benchmark/benchmark.h>

#include "gallery/GalleryListData.h"
#include "shared/Graphics/GraphicsContext.h"
#include "ui/ListView.h"
#include "ui/RootPane.h"
#include "ui/TreeView.h"

#include <memory>
#include <vector>

namespace Corvell {
namespace {

// Draws nothing and counts what it is asked to draw.
class CountingContext : public GraphicsContext {
public:
    explicit CountingContext(const Rect& bounds) { InitClip(bounds); }
    int64_t primitives = 0;

    void BlitImage(Point, const ImageRef&, const Rect&, RasterOp) override { ++primitives; }
    void StretchImage(const Rect&, const ImageRef&, const Rect&) override { ++primitives; }
    void BlendImage(const Rect&, const ImageRef&, const Rect&, uint8_t, bool) override { ++primitives; }

protected:
    NativeHandle SelectHandle(ObjectKind kind, NativeHandle handle) override {
        NativeHandle& slot = m_selected[int(kind) % 3];
        NativeHandle old = slot;
        slot = handle;
        return old;
    }
    NativeHandle CurrentHandle(ObjectKind kind) override { return m_selected[int(kind) % 3]; }
    void PlatformPolyline(const Point*, int32_t) override { ++primitives; }
    void PlatformRectangle(const Rect&) override { ++primitives; }
    void PlatformEllipse(const Rect&) override { ++primitives; }
    void PlatformPolygon(const Point*, int32_t) override { ++primitives; }
    void PlatformFillRect(const Rect&, NativeHandle) override { ++primitives; }
    void PlatformFillRegion(const Region&, NativeHandle) override { ++primitives; }
    void PlatformFrameRegion(const Region&, NativeHandle) override { ++primitives; }
    void PlatformTextOut(Point, const char*, int32_t) override { ++primitives; }
    bool PlatformDrawText(const char*, int32_t, Rect&, uint32_t) override {
        ++primitives;
        return true;
    }
    bool PlatformTextExtent(const char*, int32_t length, Size& size) override {
        size = Size{7 * length, 13};
        return true;
    }
    Color PlatformGetTextColor() override { return m_text; }
    void PlatformSetTextColor(Color c) override { m_text = c; }
    bool PlatformSetTransparentText(bool) override { return true; }
    int32_t PlatformGetTextAlign() override { return 0; }
    void PlatformSetTextAlign(int32_t) override {}
    void PlatformSetRasterOp(RasterOp) override {}
    void PlatformSetOrigin(Point) override {}
    void PlatformSetClip(const Region&) override {}

private:
    NativeHandle m_selected[3] = {};
    Color m_text = 0;
};

// A root without a platform window, as large as the gallery's list.
struct Window {
    Window() { root.NativeWindowCreated(400, 600); }
    RootPane root;
};

void ListPaintAndWheel(benchmark::State& state) {
    const int32_t n = int32_t(state.range(0));
    Window w;
    GeneratedListSource rows(n);
    ListView list;
    list.Create(&w.root, Rect{10, 10, 300, 257});
    list.SetDataSource(&rows);
    list.SetUpdating(true);
    list.RemoveAllItems();
    for (int32_t i = 0; i < n; ++i)
        list.AddItem(i, 2);
    list.SetUpdating(false);
    list.UpdateLayout();
    list.Select(n / 2);

    int32_t notch = 1;
    int64_t primitives = 0;
    for (auto _ : state) {
        CountingContext gc(Rect{0, 0, 400, 600});
        w.root.PaintAll(gc);
        MouseEvent wheel(kMouseWheel);
        wheel.wheel = notch;
        notch = -notch; // back and forth, never at an end
        wheel.Dispatch(&list);
        primitives = gc.primitives;
    }
    state.counters["rows"] = n;
    state.counters["primitives"] = double(primitives);
}

void TreeExpandOne(benchmark::State& state) {
    const bool big = state.range(0) > 100;
    // 10,000 or 100 nodes on five levels; in both the nodes of the third
    // level have 6 children, so the same work is asked of both.
    const GeneratedTree tree = big ? GeneratedTree({10, 4, 4, 6, 9}, 190) : GeneratedTree({2, 2, 1, 6, 2}, 18);
    Window w;
    GeneratedTreeSource nodes(tree);
    TreeView view;
    view.Create(&w.root, Rect{10, 10, 300, 400});
    view.SetDataSource(&nodes);
    // Every node open: as many rows as nodes.
    for (int32_t i = 0; i < tree.Size(); ++i)
        view.Expand(GeneratedTreeSource::Item(tree.At(i)));
    // A node of the third level in the middle of the rows.
    std::vector<const GeneratedTree::Node*> third;
    for (int32_t i = 0; i < tree.Size(); ++i)
        if (tree.At(i)->depth == 2 && tree.At(i)->count > 0)
            third.push_back(tree.At(i));
    void* target = third.empty() ? nullptr : GeneratedTreeSource::Item(third[third.size() / 2]);
    if (!target || view.GetRowCount() != tree.Size()) {
        state.SkipWithError("the tree did not open fully");
        return;
    }
    state.counters["row"] = view.IndexOfItem(target);
    state.counters["children"] = tree.ChildCount(GeneratedTreeSource::Node(target));
    view.Collapse(target);
    for (auto _ : state) {
        view.Expand(target);
        state.PauseTiming();
        view.Collapse(target);
        state.ResumeTiming();
    }
    state.counters["nodes"] = tree.Size();
}

BENCHMARK(ListPaintAndWheel)->Arg(100)->Arg(100000);
BENCHMARK(TreeExpandOne)->Arg(100)->Arg(10000);

} // namespace
} // namespace Corvell

BENCHMARK_MAIN();
