#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Corvell {

// One row of a tree view: the item it shows, its depth (0 at the top
// level), whether it is expanded, and the frame of its expander animation
// (0 collapsed to 3 expanded).
struct TreeRow {
    void* item = nullptr;
    int32_t depth = 0;
    bool expanded = false;
    int8_t frame = 0;
};

// The rows of a tree view in display order. Rows live in blocks of at most
// a few hundred, so inserting or removing a run of rows moves only the rows
// of one block, and an item -> (block, count) map finds the first row of an
// item without a search of all rows. The index of a row is the start of its
// block plus its place in the block; the starts, side by side in one array,
// are kept current by a pass over them (not over the rows) on every change.
//
// An item may appear in more than one row; IndexOf gives the first.
class TreeRowStore {
public:
    static constexpr int32_t kDefaultBlock = 256;

    // Blocks split above maxBlock rows and merge with a neighbour below a
    // quarter of it.
    explicit TreeRowStore(int32_t maxBlock = kDefaultBlock);
    TreeRowStore(const TreeRowStore&) = delete;
    TreeRowStore& operator=(const TreeRowStore&) = delete;
    ~TreeRowStore();

    int32_t Count() const { return m_count; }
    // index in [0, Count()).
    const TreeRow& At(int32_t index) const;
    TreeRow& At(int32_t index);

    // Inserts count rows before index, which is clamped to [0, Count()];
    // returns the index of the first new row.
    int32_t Insert(int32_t index, const TreeRow* rows, int32_t count);
    // Removes up to count rows from index on; returns how many went.
    int32_t Remove(int32_t index, int32_t count);
    void Clear();

    // The first row showing item, or -1.
    int32_t IndexOf(const void* item) const;
    // How many rows right after index are deeper than row index: its
    // descendants, whatever the data source says about them now.
    int32_t DescendantCount(int32_t index) const;

    int32_t BlockCount() const { return int32_t(m_blocks.size()); }

private:
    struct Block {
        std::vector<TreeRow> rows;
        size_t ordinal = 0; // its place in m_blocks
    };
    struct Where {
        Block* block;
        int32_t count;
    };

    // The block holding index (the last one for index == Count()).
    size_t BlockOf(int32_t index) const;
    int32_t StartOf(const Block* b) const { return m_starts[b->ordinal]; }
    // The item's count in block b changes by delta.
    void Note(const void* item, Block* b, int32_t delta);
    // Moves rows [from, end) of block src to the end of block dst.
    void MoveRows(Block& src, size_t from, Block& dst);
    // After blocks came or went: places and starts from block `from` on.
    void Renumber(size_t from);
    void SplitIfLarge(size_t k);
    // Merges block k with a neighbour when it is small; true when it did.
    bool MergeIfSmall(size_t k);

    int32_t m_maxBlock;
    int32_t m_minBlock;
    std::vector<std::unique_ptr<Block>> m_blocks;
    // The index of the first row of each block, side by side so that a
    // change moves the later starts without visiting the blocks.
    std::vector<int32_t> m_starts;
    std::unordered_multimap<const void*, Where> m_where;
    int32_t m_count = 0;
};

} // namespace Corvell
