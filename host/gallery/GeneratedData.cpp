#include "gallery/GeneratedData.h"

#include <cstdio>

namespace Corvell {

std::string GeneratedRows::Text(int32_t row, int32_t column) const {
    if (row < 0 || row >= m_count)
        return std::string();
    char text[32];
    if (column == 0)
        std::snprintf(text, sizeof text, "Pattern %06d", row + 1);
    else
        std::snprintf(text, sizeof text, "%d bpm", 60 + (row * 7) % 120);
    return text;
}

GeneratedTree::GeneratedTree(const std::vector<int32_t>& fanout, int32_t extra) {
    m_depth = int32_t(fanout.size());
    if (fanout.empty())
        return;
    // Level by level, so each node's children lie side by side.
    m_topCount = fanout[0];
    for (int32_t i = 0; i < m_topCount; ++i)
        m_nodes.push_back(Node{-1, 0, i, 0, 0});
    size_t levelStart = 0;
    for (size_t d = 1; d < fanout.size(); ++d) {
        const size_t levelEnd = m_nodes.size();
        for (size_t p = levelStart; p < levelEnd; ++p) {
            int32_t n = fanout[d];
            if (d + 1 == fanout.size() && int32_t(p - levelStart) < extra)
                ++n;
            m_nodes[p].first = int32_t(m_nodes.size());
            m_nodes[p].count = n;
            for (int32_t i = 0; i < n; ++i)
                m_nodes.push_back(Node{int32_t(p), int32_t(d), i, 0, 0});
        }
        levelStart = levelEnd;
    }
}

const GeneratedTree::Node* GeneratedTree::Child(const Node* n, int32_t i) const {
    if (i < 0 || i >= ChildCount(n))
        return nullptr;
    return &m_nodes[size_t((n ? n->first : 0) + i)];
}

std::string GeneratedTree::Text(const Node* n) const {
    if (!n)
        return std::string();
    std::string path;
    for (const Node* p = n; p; p = p->parent >= 0 ? &m_nodes[size_t(p->parent)] : nullptr)
        path = std::to_string(p->index + 1) + (path.empty() ? "" : "." + path);
    return (n->count ? "Folder " : "Style ") + path;
}

} // namespace Corvell
