// The gallery's lists: 100,000 generated rows in a list view and a tree of
// 10,000 nodes five levels deep, both in a column of their own. They cost
// what their visible rows cost, whatever their length.
#include "gallery/WidgetGallery.h"

#include "gallery/GalleryListData.h"
#include "ui/ListView.h"
#include "ui/TooltipViewer.h"
#include "ui/TreeView.h"
#include "ui/core/FunctionDelegate.h"

namespace Corvell {

namespace {
constexpr int32_t kListHeading = 18;
} // namespace

void WidgetGallery::BuildLists(int32_t bottom) {
    m_listData = std::make_unique<GeneratedListSource>(100000);
    // 10 + 40 + 160 + 960 + 8,830 nodes.
    m_tree = std::make_unique<GeneratedTree>(std::vector<int32_t>{10, 4, 4, 6, 9}, 190);
    m_treeData = std::make_unique<GeneratedTreeSource>(*m_tree);
    int32_t y = kMargin;
    m_headings.push_back(Heading{Rect{kListLeft, y, kListWidth, kListHeading}, "Lists and trees", true});
    y += kListHeading + 2;

    auto* list = new ListView;
    Place(list, "ListView", "100,000 rows", Rect{kListLeft, y, kListWidth, 330});
    list->SetDataSource(m_listData.get());
    list->SetUpdating(true);
    list->RemoveAllItems();
    for (int32_t i = 0; i < m_listData->rows.Count(); ++i)
        list->AddItem(i, 2);
    list->SetUpdating(false);
    list->UpdateLayout();
    list->AddSelectionListener(Fn<int>([this](int row) {
        if (m_tooltips && row >= 0)
            m_tooltips->ShowTimed(String("\tSelected ") + m_listData->rows.Text(row, 0).c_str());
    }));
    y += 330 + 10;

    auto* tree = new TreeView;
    Place(tree, "TreeView", "10,000 nodes", Rect{kListLeft, y, kListWidth, bottom - y});
    tree->SetDataSource(m_treeData.get());
    tree->AddSelectionListener(Fn<void*>([this](void* item) {
        if (m_tooltips && item)
            m_tooltips->ShowTimed(String("\tSelected ") + m_tree->Text(GeneratedTreeSource::Node(item)).c_str());
    }));
    // The first folder open down to its first leaf, so the levels show.
    void* item = nullptr;
    for (int32_t d = 0; d < 4; ++d) {
        item = m_treeData->GetChild(tree, item, 0);
        tree->Expand(item);
    }
}

} // namespace Corvell
