// Lists kept as a doubly linked chain of nodes; the variant whose elements
// are owned object pointers; and the cursor over them by node.
#pragma once

#include <cstring>
#include <new>
#include <type_traits>

#include "toolbox/foundation/VList.h"

template <class T>
class VChainIteratorOf;

template <class T>
class VChainListOf : public VListOf<T> {
public:
    using VListOf<T>::GetNullData;

    struct Node {
        Node* previous;
        Node* next;
        T data;
    };

    explicit VChainListOf(int16_t objType = 0) : VListOf<T>(objType) {}
    VChainListOf(const VChainListOf&) = delete;
    VChainListOf& operator=(const VChainListOf&) = delete;
    ~VChainListOf() override { Destroy(kListForget); }

    int32_t GetCount() const override { return fCount; }
    bool IsEmpty() const override { return fCount == 0; }

    void Add(const T& e) override { AddTail(e); }

    void AddHead(const T& e) override
    {
        if (fUnique && FindPos(e) > 0) return;
        LinkBefore(fHead, e);
    }

    void AddTail(const T& e) override
    {
        if (fUnique && FindPos(e) > 0) return;
        LinkBefore(nullptr, e);
    }

    void AddNth(const T& e, int32_t n) override
    {
        if (fUnique && FindPos(e) > 0) return;
        if (n < 2)
            LinkBefore(fHead, e);
        else if (n > fCount)
            LinkBefore(nullptr, e);
        else
            LinkBefore(NodeAt(n), e);
    }

    // No unique test; an absent anchor appends e (with the unique test).
    void AddAfter(const T& e, const T& anchor) override
    {
        if (Node* a = FindNode(anchor))
            LinkBefore(a->next, e);
        else
            AddTail(e);
    }

    void AddBefore(const T& e, const T& anchor) override
    {
        if (Node* a = FindNode(anchor))
            LinkBefore(a, e);
        else
            AddTail(e);
    }

    T GetNth(int32_t n) const override
    {
        const Node* node = NodeAt(n);
        return node ? node->data : GetNullData();
    }
    T GetFirst() const override { return fHead ? fHead->data : GetNullData(); }
    T GetLast() const override { return fTail ? fTail->data : GetNullData(); }

    void SetNth(const T& e, int32_t n) override
    {
        if (Node* node = NodeAt(n)) node->data = e;
    }

    void DeleteNth(int32_t n, ListDestroy d) override
    {
        if (Node* node = NodeAt(n)) Remove(node, d);
    }

    void Delete(const T& e, ListDestroy d) override
    {
        if (Node* node = FindNode(e)) Remove(node, d);
    }

    void Destroy(ListDestroy d) override
    {
        Node* node = fHead;
        fHead = fTail = nullptr;
        fCount = 0;
        while (node) {
            Node* next = node->next;
            if (d == kListDeleteData) DeleteData(&node->data);
            delete node;
            node = next;
        }
    }

    int32_t FindPos(const T& e) const override
    {
        int32_t pos = 1;
        for (const Node* node = fHead; node; node = node->next, ++pos)
            if (node->data == e) return pos;
        return 0;
    }
    T Find(const T& e) const override
    {
        const Node* node = FindNode(e);
        return node ? node->data : GetNullData();
    }
    // Null datum when e is absent or has no neighbour.
    T Next(const T& e) const override
    {
        const Node* node = FindNode(e);
        return node && node->next ? node->next->data : GetNullData();
    }
    T Previous(const T& e) const override
    {
        const Node* node = FindNode(e);
        return node && node->previous ? node->previous->data : GetNullData();
    }

    bool GetUnique() const override { return fUnique; }
    void SetUnique(bool unique) override { fUnique = unique; }

    bool EqualData(const T* a, const T* b) const override { return std::memcmp(a, b, sizeof(T)) == 0; }
    void DeleteData(T*) override {}

    VIteratorOf<T>* NewIterator(int32_t n) override
    {
        auto* it = new VChainIteratorOf<T>(this);
        if (it) it->SetPos(n);
        return it;
    }

    // Takes over the other list's nodes and settings; the other is left empty.
    void StealList(VChainListOf& other)
    {
        if (&other == this) return;
        Destroy(kListForget);
        fHead = other.fHead;
        fTail = other.fTail;
        fCount = other.fCount;
        fUnique = other.fUnique;
        this->SetObjType(other.GetObjType());
        other.fHead = other.fTail = nullptr;
        other.fCount = 0;
    }

    Node* GetHead() const { return fHead; }
    Node* GetTail() const { return fTail; }

    // Node n, reached from the nearer end; null outside 1..count.
    Node* NodeAt(int32_t n) const
    {
        if (n < 1 || n > fCount) return nullptr;
        Node* node;
        if (n <= fCount / 2) {
            node = fHead;
            for (int32_t i = 1; i < n; ++i) node = node->next;
        } else {
            node = fTail;
            for (int32_t i = fCount; i > n; --i) node = node->previous;
        }
        return node;
    }

private:
    Node* FindNode(const T& e) const
    {
        for (Node* node = fHead; node; node = node->next)
            if (node->data == e) return node;
        return nullptr;
    }

    // Links a new node before `at` (null: at the tail); nothing when no
    // node can be made.
    void LinkBefore(Node* at, const T& e)
    {
        Node* node = new (std::nothrow) Node{nullptr, nullptr, e};
        if (!node) return;
        node->next = at;
        node->previous = at ? at->previous : fTail;
        if (node->previous)
            node->previous->next = node;
        else
            fHead = node;
        if (at)
            at->previous = node;
        else
            fTail = node;
        ++fCount;
    }

    void Remove(Node* node, ListDestroy d)
    {
        if (d == kListDeleteData) DeleteData(&node->data);
        if (node->previous)
            node->previous->next = node->next;
        else
            fHead = node->next;
        if (node->next)
            node->next->previous = node->previous;
        else
            fTail = node->previous;
        delete node;
        --fCount;
    }

    Node* fHead = nullptr;
    Node* fTail = nullptr;
    int32_t fCount = 0;
    bool fUnique = false;
};

// Elements are owned object pointers: compared by identity, deleted by
// DeleteData. The destructor only forgets them.
template <class P>
class VChainListPtrOf : public VChainListOf<P> {
    static_assert(std::is_pointer_v<P>, "VChainListPtrOf holds object pointers");

public:
    explicit VChainListPtrOf(int16_t objType = 0) : VChainListOf<P>(objType) {}

    bool EqualData(const P* a, const P* b) const override { return *a == *b; }
    void DeleteData(P* e) override
    {
        if (*e) delete *e;
    }
};

template <class T>
class VChainIteratorOf : public VIteratorOf<T> {
    using Node = typename VChainListOf<T>::Node;

public:
    explicit VChainIteratorOf(VListOf<T>* list) { UseList(list); }

    // Lists of another kind leave the cursor without a list.
    void UseList(VListOf<T>* list) override
    {
        fList = dynamic_cast<VChainListOf<T>*>(list);
        fPos = -1;
        fNode = fList ? NotStarted() : nullptr;
    }

    void SetPos(int32_t n) override
    {
        if (!fList) return;
        if (n == -1) {
            fPos = -1;
            fNode = NotStarted();
        } else if ((fNode = fList->NodeAt(n)) != nullptr) {
            fPos = n;
        } else {
            fPos = 0;
        }
    }
    int32_t GetPos() const override { return fPos; }

    T First() override
    {
        if (!fList) return Null();
        return Land(fList->GetHead(), 1);
    }

    T Last() override
    {
        if (!fList) return Null();
        return Land(fList->GetTail(), fList->GetCount());
    }

    // Once off the end the cursor stays there.
    T Next() override
    {
        if (!fNode) return Null();
        if (fNode == NotStarted()) return First();
        return Land(fNode->next, fPos + 1);
    }

    T Previous() override
    {
        if (!fNode) return Null();
        if (fNode == NotStarted()) return Last();
        return Land(fNode->previous, fPos - 1);
    }

    // A cursor that has not started moves to the first element.
    T Current() override
    {
        if (!fNode) return Null();
        if (fNode == NotStarted()) return First();
        return fNode->data;
    }

    void SetCurrent(const T& e) override
    {
        if (!fList) return;
        int32_t pos = 1;
        for (Node* node = fList->GetHead(); node; node = node->next, ++pos) {
            if (fList->EqualData(&e, &node->data)) {
                fNode = node;
                fPos = pos;
                return;
            }
        }
        fNode = nullptr;
        fPos = 0;
    }

private:
    static T Null() { return VListOf<T>::GetNullData(); }
    static Node* NotStarted() { return reinterpret_cast<Node*>(~uintptr_t(0)); }

    T Land(Node* node, int32_t pos)
    {
        fNode = node;
        fPos = node ? pos : 0;
        return node ? node->data : Null();
    }

    VChainListOf<T>* fList = nullptr;
    Node* fNode = nullptr;
    int32_t fPos = -1;
};
