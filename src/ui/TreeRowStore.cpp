#include "ui/TreeRowStore.h"

#include <algorithm>

namespace Corvell {

TreeRowStore::TreeRowStore(int32_t maxBlock)
    : m_maxBlock(std::max<int32_t>(maxBlock, 2)), m_minBlock(std::max<int32_t>(m_maxBlock / 4, 1)) {}

TreeRowStore::~TreeRowStore() = default;

size_t TreeRowStore::BlockOf(int32_t index) const {
    // The last block starting at or before index; blocks are never empty,
    // so the starts rise strictly.
    auto it = std::upper_bound(m_starts.begin(), m_starts.end(), index);
    return it == m_starts.begin() ? 0 : size_t(it - m_starts.begin()) - 1;
}

const TreeRow& TreeRowStore::At(int32_t index) const {
    const size_t k = BlockOf(index);
    return m_blocks[k]->rows[size_t(index - m_starts[k])];
}

TreeRow& TreeRowStore::At(int32_t index) {
    const size_t k = BlockOf(index);
    return m_blocks[k]->rows[size_t(index - m_starts[k])];
}

void TreeRowStore::Note(const void* item, Block* b, int32_t delta) {
    auto range = m_where.equal_range(item);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second.block != b)
            continue;
        it->second.count += delta;
        if (it->second.count <= 0)
            m_where.erase(it);
        return;
    }
    if (delta > 0)
        m_where.emplace(item, Where{b, delta});
}

void TreeRowStore::MoveRows(Block& src, size_t from, Block& dst) {
    for (size_t i = from; i < src.rows.size(); ++i) {
        Note(src.rows[i].item, &src, -1);
        Note(src.rows[i].item, &dst, +1);
        dst.rows.push_back(src.rows[i]);
    }
    src.rows.resize(from);
}

void TreeRowStore::Renumber(size_t from) {
    m_starts.resize(m_blocks.size());
    if (from > m_blocks.size())
        from = m_blocks.size();
    int32_t start = 0;
    if (from > 0)
        start = m_starts[from - 1] + int32_t(m_blocks[from - 1]->rows.size());
    for (size_t k = from; k < m_blocks.size(); ++k) {
        m_blocks[k]->ordinal = k;
        m_starts[k] = start;
        start += int32_t(m_blocks[k]->rows.size());
    }
}

void TreeRowStore::SplitIfLarge(size_t k) {
    Block& b = *m_blocks[k];
    if (int32_t(b.rows.size()) <= m_maxBlock)
        return;
    // Halves of the largest size: later inserts in any of them fit
    // without splitting again at once.
    const size_t half = size_t(std::max<int32_t>(m_maxBlock / 2, 1));
    std::vector<std::unique_ptr<Block>> fresh;
    for (size_t at = half; at < b.rows.size(); at += half) {
        auto nb = std::make_unique<Block>();
        const size_t end = std::min(at + half, b.rows.size());
        nb->rows.reserve(end - at);
        for (size_t i = at; i < end; ++i) {
            Note(b.rows[i].item, &b, -1);
            Note(b.rows[i].item, nb.get(), +1);
            nb->rows.push_back(b.rows[i]);
        }
        fresh.push_back(std::move(nb));
    }
    b.rows.resize(half);
    m_blocks.insert(m_blocks.begin() + std::ptrdiff_t(k + 1), std::make_move_iterator(fresh.begin()),
                    std::make_move_iterator(fresh.end()));
    Renumber(k + 1);
}

bool TreeRowStore::MergeIfSmall(size_t k) {
    if (k >= m_blocks.size() || int32_t(m_blocks[k]->rows.size()) >= m_minBlock)
        return false;
    const int32_t size = int32_t(m_blocks[k]->rows.size());
    if (k + 1 < m_blocks.size() && size + int32_t(m_blocks[k + 1]->rows.size()) <= m_maxBlock) {
        MoveRows(*m_blocks[k + 1], 0, *m_blocks[k]);
        m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(k + 1));
        Renumber(k);
        return true;
    }
    if (k > 0 && size + int32_t(m_blocks[k - 1]->rows.size()) <= m_maxBlock) {
        MoveRows(*m_blocks[k], 0, *m_blocks[k - 1]);
        m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(k));
        Renumber(k - 1);
        return true;
    }
    return false;
}

int32_t TreeRowStore::Insert(int32_t index, const TreeRow* rows, int32_t count) {
    index = std::clamp(index, 0, m_count);
    if (!rows || count <= 0)
        return index;
    if (m_blocks.empty()) {
        m_blocks.push_back(std::make_unique<Block>());
        Renumber(0);
    }
    const size_t k = BlockOf(index);
    Block& b = *m_blocks[k];
    const size_t pos = size_t(index - m_starts[k]);
    b.rows.insert(b.rows.begin() + std::ptrdiff_t(pos), rows, rows + count);
    for (int32_t i = 0; i < count; ++i)
        Note(rows[i].item, &b, +1);
    m_count += count;
    for (size_t j = k + 1; j < m_starts.size(); ++j)
        m_starts[j] += count;
    SplitIfLarge(k);
    return index;
}

int32_t TreeRowStore::Remove(int32_t index, int32_t count) {
    if (index < 0 || index >= m_count || count <= 0)
        return 0;
    count = std::min(count, m_count - index);
    const int32_t removed = count;
    const size_t first = BlockOf(index);
    size_t k = first;
    size_t pos = size_t(index - m_starts[k]);
    bool blocksWent = false;
    while (count > 0 && k < m_blocks.size()) {
        Block& b = *m_blocks[k];
        const size_t n = std::min(size_t(count), b.rows.size() - pos);
        for (size_t i = pos; i < pos + n; ++i)
            Note(b.rows[i].item, &b, -1);
        b.rows.erase(b.rows.begin() + std::ptrdiff_t(pos), b.rows.begin() + std::ptrdiff_t(pos + n));
        count -= int32_t(n);
        m_count -= int32_t(n);
        if (b.rows.empty()) {
            m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(k));
            m_starts.erase(m_starts.begin() + std::ptrdiff_t(k));
            blocksWent = true;
        } else {
            ++k;
        }
        pos = 0;
    }
    // A block that lost its first rows now starts at index; the blocks after
    // the gap start `removed` rows earlier.
    for (size_t j = first; j < m_starts.size(); ++j) {
        if (m_starts[j] > index)
            m_starts[j] = std::max(index, m_starts[j] - removed);
    }
    if (blocksWent)
        Renumber(first);
    // The blocks on either side of the gap may be small now; from the last
    // so that the earlier places stay put.
    for (size_t j = first + 2; j-- > (first > 0 ? first - 1 : 0);)
        MergeIfSmall(j);
    return removed;
}

void TreeRowStore::Clear() {
    m_where.clear();
    m_blocks.clear();
    m_starts.clear();
    m_count = 0;
}

int32_t TreeRowStore::IndexOf(const void* item) const {
    const Block* best = nullptr;
    auto range = m_where.equal_range(item);
    for (auto it = range.first; it != range.second; ++it) {
        if (!best || StartOf(it->second.block) < StartOf(best))
            best = it->second.block;
    }
    if (!best)
        return -1;
    for (size_t i = 0; i < best->rows.size(); ++i) {
        if (best->rows[i].item == item)
            return StartOf(best) + int32_t(i);
    }
    return -1;
}

int32_t TreeRowStore::DescendantCount(int32_t index) const {
    if (index < 0 || index >= m_count)
        return 0;
    size_t k = BlockOf(index);
    size_t pos = size_t(index - m_starts[k]);
    const int32_t depth = m_blocks[k]->rows[pos].depth;
    ++pos;
    int32_t n = 0;
    for (; k < m_blocks.size(); ++k, pos = 0) {
        const std::vector<TreeRow>& rows = m_blocks[k]->rows;
        for (; pos < rows.size(); ++pos) {
            if (rows[pos].depth <= depth)
                return n;
            ++n;
        }
    }
    return n;
}

} // namespace Corvell
