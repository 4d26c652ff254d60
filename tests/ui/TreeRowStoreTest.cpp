#include "ui/TreeRowStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

// Items are addresses in this array; a few are used twice on purpose.
char g_items[64];
void* Item(int i) { return &g_items[i]; }

TreeRow R(int item, int depth) { return TreeRow{Item(item), depth, false, 0}; }

// The store against a plain vector that does the same thing the slow way.
class Checked {
public:
    explicit Checked(int32_t maxBlock) : store(maxBlock) {}

    void Insert(int32_t index, std::vector<TreeRow> rows) {
        const int32_t at = store.Insert(index, rows.data(), int32_t(rows.size()));
        ASSERT_EQ(at, std::clamp(index, 0, int32_t(model.size())));
        model.insert(model.begin() + at, rows.begin(), rows.end());
    }
    void Remove(int32_t index, int32_t count) {
        int32_t expected = 0;
        if (index >= 0 && index < int32_t(model.size()) && count > 0)
            expected = std::min(count, int32_t(model.size()) - index);
        ASSERT_EQ(store.Remove(index, count), expected);
        model.erase(model.begin() + std::max(index, 0), model.begin() + std::max(index, 0) + expected);
    }
    // Every row, the first row of every item (also of items not there) and
    // the descendants of every row agree with the model.
    void Verify() const {
        ASSERT_EQ(store.Count(), int32_t(model.size()));
        for (int32_t i = 0; i < store.Count(); ++i) {
            ASSERT_EQ(store.At(i).item, model[size_t(i)].item) << "row " << i;
            ASSERT_EQ(store.At(i).depth, model[size_t(i)].depth) << "row " << i;
        }
        for (int k = 0; k < 64; ++k) {
            int32_t first = -1;
            for (size_t i = 0; i < model.size() && first < 0; ++i) {
                if (model[i].item == Item(k))
                    first = int32_t(i);
            }
            ASSERT_EQ(store.IndexOf(Item(k)), first) << "item " << k;
        }
        for (size_t i = 0; i < model.size(); ++i) {
            int32_t n = 0;
            while (i + 1 + size_t(n) < model.size() && model[i + 1 + size_t(n)].depth > model[i].depth)
                ++n;
            ASSERT_EQ(store.DescendantCount(int32_t(i)), n) << "row " << i;
        }
    }

    TreeRowStore store;
    std::vector<TreeRow> model;
};

struct Step {
    const char* what;
    bool insert;
    int32_t index;
    std::vector<TreeRow> rows; // insert
    int32_t count;             // remove
    int32_t blocks;            // expected block count afterwards; -1 to skip
};

// Blocks of at most 8 rows, split into halves of 4, merged with a
// neighbour below 2.
TEST(TreeRowStore, InsertsAndRemovesAgreeWithAPlainVectorThroughSplitsAndMerges) {
    const Step steps[] = {
        {"first rows", true, 0, {R(0, 0), R(1, 0), R(2, 0)}, 0, 1},
        {"fills the block", true, 3, {R(3, 0), R(4, 1), R(5, 1), R(6, 0), R(7, 0)}, 0, 1},
        {"one more splits it into halves", true, 1, {R(8, 1)}, 0, 3},
        {"a run at a block's start splits that block",
         true,
         4,
         {R(9, 2), R(10, 2), R(11, 2), R(12, 3), R(13, 2), R(14, 2)},
         0,
         5},
        {"appending", true, 15, {R(15, 0)}, 0, 5},
        {"a small last block merges with its neighbour", false, 15, {}, 1, 4},
        {"a run across blocks takes a whole block", false, 2, {}, 8, 3},
        {"the first row: the small block merges", false, 0, {}, 1, 2},
        {"out of range removes nothing", false, 50, {}, 3, 2},
        {"index past the end is clamped", true, 99, {R(16, 0)}, 0, -1},
        {"negative index is clamped", true, -4, {R(17, 0)}, 0, -1},
        {"an item twice", true, 3, {R(3, 3)}, 0, -1},
        {"count past the end", false, 4, {}, 100, -1},
        {"everything", false, 0, {}, 100, 0},
        {"after empty", true, 0, {R(18, 0), R(19, 1)}, 0, 1},
    };
    Checked c(8);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.insert)
            c.Insert(s.index, s.rows);
        else
            c.Remove(s.index, s.count);
        c.Verify();
        if (s.blocks >= 0) {
            EXPECT_EQ(c.store.BlockCount(), s.blocks);
        }
    }
}

TEST(TreeRowStore, SmallBlocksMergeWithANeighbourSoTheyDoNotPileUp) {
    Checked c(8);
    std::vector<TreeRow> rows;
    for (int i = 0; i < 40; ++i)
        rows.push_back(R(i, i % 3));
    c.Insert(0, rows);
    const int32_t many = c.store.BlockCount();
    EXPECT_EQ(many, 10); // 40 rows in halves of 4
    // Three rows of every four go: without merges every block would keep
    // one row; merged, every block keeps at least a quarter of the largest (2).
    for (int32_t i = c.store.Count() - 1; i >= 0; --i) {
        if (i % 4 != 0)
            c.Remove(i, 1);
    }
    c.Verify();
    EXPECT_EQ(c.store.Count(), 10);
    EXPECT_LE(c.store.BlockCount(), 10 / 2);
}

TEST(TreeRowStore, TheFirstRowOfAnItemInSeveralBlocks) {
    Checked c(4);
    c.Insert(0, {R(1, 0), R(2, 0), R(3, 0), R(4, 0), R(5, 0), R(6, 0), R(7, 0), R(8, 0)});
    c.Insert(7, {R(2, 1)});
    c.Insert(3, {R(2, 1)});
    c.Verify();
    EXPECT_EQ(c.store.IndexOf(Item(2)), 1);
    c.Remove(1, 1);
    c.Verify();
    EXPECT_EQ(c.store.IndexOf(Item(2)), 2);
    c.Remove(0, 3);
    c.Verify();
    EXPECT_EQ(c.store.IndexOf(Item(2)), 4);
    c.Remove(4, 1);
    EXPECT_EQ(c.store.IndexOf(Item(2)), -1);
}

// A long mixed run, seeded, so that every split and merge path meets
// every other; the same run each time.
TEST(TreeRowStore, ASeededRunOfMixedChangesAgreesWithTheModelThroughout) {
    for (int32_t maxBlock : {2, 5, 16}) {
        SCOPED_TRACE("max block " + std::to_string(maxBlock));
        Checked c(maxBlock);
        std::mt19937 rng(1234u + uint32_t(maxBlock));
        for (int step = 0; step < 600; ++step) {
            const int32_t n = int32_t(c.model.size());
            // Grows to a few hundred rows, then hovers there.
            if (n == 0 || (n < 300 && rng() % 2 == 0)) {
                std::vector<TreeRow> rows(1 + rng() % (maxBlock * 3));
                for (TreeRow& r : rows)
                    r = R(int(rng() % 64), int(rng() % 4));
                c.Insert(int32_t(rng() % uint32_t(n + 1)), rows);
            } else {
                c.Remove(int32_t(rng() % uint32_t(n)), int32_t(1 + rng() % (maxBlock * 2)));
            }
            c.Verify();
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(TreeRowStore, ClearForgetsEveryItem) {
    Checked c(4);
    c.Insert(0, {R(1, 0), R(2, 1), R(3, 1), R(4, 0), R(5, 0)});
    c.store.Clear();
    c.model.clear();
    c.Verify();
    EXPECT_EQ(c.store.BlockCount(), 0);
    c.Insert(0, {R(2, 0)});
    c.Verify();
}

} // namespace
} // namespace Corvell::Test
