#pragma once
// Generated contents for the gallery's list and tree, and for the
// benchmarks that measure them: any length, made on demand.
#include <cstdint>
#include <string>
#include <vector>

namespace Corvell {

// Rows "Pattern 000123" with a tempo beside them.
class GeneratedRows {
public:
    explicit GeneratedRows(int32_t count) : m_count(count) {}
    int32_t Count() const { return m_count; }
    std::string Text(int32_t row, int32_t column) const;

private:
    int32_t m_count;
};

// A tree built level by level: every node of level d has fanout[d]
// children (fanout[0] is the number of top nodes), and the first `extra`
// nodes of the last level but one get one child more.
class GeneratedTree {
public:
    struct Node {
        int32_t parent; // -1 at the top
        int32_t depth;
        int32_t index;  // among its siblings
        int32_t first;  // its first child
        int32_t count;  // its children
    };

    GeneratedTree(const std::vector<int32_t>& fanout, int32_t extra = 0);

    int32_t Size() const { return int32_t(m_nodes.size()); }
    int32_t Depth() const { return m_depth; }
    // Null stands for the top level.
    int32_t ChildCount(const Node* n) const { return n ? n->count : m_topCount; }
    const Node* Child(const Node* n, int32_t i) const;
    // "Folder 3.2.1": its path of indexes from the top, counted from 1.
    std::string Text(const Node* n) const;
    const Node* At(int32_t i) const { return &m_nodes[size_t(i)]; }

private:
    std::vector<Node> m_nodes;
    int32_t m_topCount = 0;
    int32_t m_depth = 0;
};

} // namespace Corvell
