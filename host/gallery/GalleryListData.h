#pragma once
// Generated rows and trees as the list and tree views ask for them (the
// gallery's and the benchmarks').
#include "gallery/GeneratedData.h"
#include "ui/ListView.h"
#include "ui/TreeView.h"

namespace Corvell {

class GeneratedListSource : public ListViewDataSource {
public:
    explicit GeneratedListSource(int32_t count) : rows(count) {}
    int32_t GetCount(ListView*) override { return rows.Count(); }
    void* GetItem(ListView*, int32_t) override { return nullptr; }
    String GetText(ListView*, int32_t row, int32_t column) override { return rows.Text(row, column).c_str(); }
    GeneratedRows rows;
};

class GeneratedTreeSource : public TreeViewDataSource {
public:
    // The tree is kept by reference and must outlive the source.
    explicit GeneratedTreeSource(const GeneratedTree& t) : tree(t) {}
    bool HasChildren(TreeView*, void* item) override { return tree.ChildCount(Node(item)) > 0; }
    int32_t GetChildCount(TreeView*, void* item) override { return tree.ChildCount(Node(item)); }
    void* GetChild(TreeView*, void* item, int32_t i) override { return Item(tree.Child(Node(item), i)); }
    String GetText(TreeView*, void* item, int32_t) override { return tree.Text(Node(item)).c_str(); }

    static const GeneratedTree::Node* Node(void* item) { return static_cast<const GeneratedTree::Node*>(item); }
    static void* Item(const GeneratedTree::Node* n) { return const_cast<GeneratedTree::Node*>(n); }
    const GeneratedTree& tree;
};

} // namespace Corvell
