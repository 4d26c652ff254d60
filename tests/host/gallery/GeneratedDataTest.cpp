#include "gallery/GeneratedData.h"

#include <gtest/gtest.h>

#include <functional>

namespace Corvell {
namespace {

// Counts the nodes reachable from the top through Child, and the deepest level.
void Walk(const GeneratedTree& t, const GeneratedTree::Node* n, int32_t& nodes, int32_t& deepest) {
    for (int32_t i = 0; i < t.ChildCount(n); ++i) {
        const GeneratedTree::Node* c = t.Child(n, i);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->depth, n ? n->depth + 1 : 0);
        ++nodes;
        deepest = std::max(deepest, c->depth + 1);
        Walk(t, c, nodes, deepest);
    }
}

TEST(GeneratedData, TreesHaveTheSizesTheGalleryAndBenchmarksAskFor) {
    const struct {
        std::vector<int32_t> fanout;
        int32_t extra, size;
    } cases[] = {{{10, 4, 4, 6, 9}, 190, 10000}, {{2, 2, 1, 6, 2}, 18, 100}, {{3}, 0, 3}, {{}, 0, 0}};
    for (const auto& c : cases) {
        GeneratedTree t(c.fanout, c.extra);
        EXPECT_EQ(t.Size(), c.size);
        int32_t nodes = 0, deepest = 0;
        Walk(t, nullptr, nodes, deepest);
        EXPECT_EQ(nodes, c.size);
        EXPECT_EQ(deepest, int32_t(c.fanout.size()));
        EXPECT_EQ(t.Child(nullptr, t.ChildCount(nullptr)), nullptr);
        EXPECT_EQ(t.Child(nullptr, -1), nullptr);
    }
    GeneratedTree t({10, 4, 4, 6, 9}, 190);
    const auto* leaf = t.Child(t.Child(t.Child(t.Child(t.Child(nullptr, 2), 1), 0), 3), 8);
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(t.Text(leaf), "Style 3.2.1.4.9");
    EXPECT_EQ(t.Text(t.Child(nullptr, 0)), "Folder 1");
}

TEST(GeneratedData, RowsAreMadeOnDemand) {
    GeneratedRows rows(100000);
    EXPECT_EQ(rows.Text(0, 0), "Pattern 000001");
    EXPECT_EQ(rows.Text(99999, 0), "Pattern 100000");
    EXPECT_EQ(rows.Text(100000, 0), "");
    EXPECT_EQ(rows.Text(-1, 1), "");
    EXPECT_EQ(rows.Text(1, 1), "67 bpm");
}

} // namespace
} // namespace Corvell
