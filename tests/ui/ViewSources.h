#pragma once
// Data sources and listeners for the list and tree view tests.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/ListView.h"
#include "ui/TreeView.h"
#include "ui/core/FunctionDelegate.h"

namespace Corvell::Test {

template <class A, class B, class R>
class FunctionDelegate2 : public CountedObject<Delegate2<A, B, R>> {
public:
    explicit FunctionDelegate2(std::function<R(A, B)> f) : m_f(std::move(f)) {}
    R Invoke(A a, B b) override { return m_f(std::forward<A>(a), std::forward<B>(b)); }

private:
    std::function<R(A, B)> m_f;
};

template <class A, class B, class R = void>
Ref<Delegate2<A, B, R>> Fn2(std::function<R(A, B)> f) {
    return Ref<Delegate2<A, B, R>>(new FunctionDelegate2<A, B, R>(std::move(f)));
}

// Row r, column c reads "r<r>c<c>"; counts the texts asked for.
class TextListSource : public ListViewDataSource {
public:
    int32_t count = 0;
    int32_t textCalls = 0;
    int32_t GetCount(ListView*) override { return count; }
    void* GetItem(ListView*, int32_t) override { return nullptr; }
    String GetText(ListView*, int32_t row, int32_t column) override {
        ++textCalls;
        return String(("r" + std::to_string(row) + "c" + std::to_string(column)).c_str());
    }
};

// A tree of named nodes. Nodes live as long as the source; children can
// be changed behind the view's back.
class NodeSource : public TreeViewDataSource {
public:
    struct Node {
        std::string name;
        std::vector<Node*> children;
        bool claimsChildren = false; // has children even with none listed
    };

    // A node under parent (null: the top level).
    Node* Add(Node* parent, const std::string& name) {
        m_nodes.push_back(std::make_unique<Node>());
        Node* n = m_nodes.back().get();
        n->name = name;
        (parent ? parent->children : m_top).push_back(n);
        m_byName[name] = n;
        return n;
    }
    // "A" with children "A1", "A2"; "A1" with "A1a", "A1b"; "B" with "B1"; "C".
    void Sample() {
        Node* a = Add(nullptr, "A");
        Node* a1 = Add(a, "A1");
        Add(a1, "A1a");
        Add(a1, "A1b");
        Add(a, "A2");
        Node* b = Add(nullptr, "B");
        Add(b, "B1");
        Add(nullptr, "C");
    }
    // A balanced tree: `fan` children a level, `levels` levels; names are paths ("0.3.1").
    void Balanced(int32_t fan, int32_t levels) { Grow(nullptr, "", fan, levels); }

    Node* operator[](const std::string& name) const {
        auto it = m_byName.find(name);
        return it == m_byName.end() ? nullptr : it->second;
    }
    std::vector<Node*>& Top() { return m_top; }

    bool HasChildren(TreeView*, void* item) override {
        if (!item)
            return !m_top.empty();
        Node* n = static_cast<Node*>(item);
        return n->claimsChildren || !n->children.empty();
    }
    int32_t GetChildCount(TreeView*, void* item) override {
        return int32_t(item ? static_cast<Node*>(item)->children.size() : m_top.size());
    }
    void* GetChild(TreeView*, void* item, int32_t index) override {
        std::vector<Node*>& list = item ? static_cast<Node*>(item)->children : m_top;
        return index >= 0 && index < int32_t(list.size()) ? list[size_t(index)] : nullptr;
    }
    String GetText(TreeView*, void* item, int32_t) override {
        ++textCalls;
        return item ? String(static_cast<Node*>(item)->name.c_str()) : String("(null)");
    }

    int32_t textCalls = 0;

private:
    void Grow(Node* parent, const std::string& prefix, int32_t fan, int32_t levels) {
        if (levels <= 0)
            return;
        for (int32_t i = 0; i < fan; ++i) {
            const std::string name = prefix.empty() ? std::to_string(i) : prefix + "." + std::to_string(i);
            Grow(Add(parent, name), name, fan, levels - 1);
        }
    }

    std::vector<std::unique_ptr<Node>> m_nodes;
    std::vector<Node*> m_top;
    std::map<std::string, Node*> m_byName;
};

} // namespace Corvell::Test
