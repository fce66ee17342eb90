#pragma once
// A singly linked list with a built-in cursor. Callers walk it through the cursor:
//   MoveFirst(); while (cursor) { GetCurrent(); ...; MoveNext(); }
// and read the cursor and the counters directly. A broken invariant is fatal: it is logged and
// the process ends with status 1.

#include <cstdlib>
#include <new>
#include <utility>

#include "diag/STLogFile.h"

[[noreturn]] inline void DynamicListFatal(const char* sourceFile, int line) {
    CSTLogFile::Instance().Write(sourceFile, line, "Critical Error: LinkedList");
    std::exit(1);
}

#define DYNAMIC_LIST_CHECK(condition)                          \
    do {                                                       \
        if (!(condition)) DynamicListFatal(__FILE__, __LINE__); \
    } while (0)

template <typename T>
class DynamicList {
public:
    struct Node {
        Node* next;
        T element;
    };

    Node* head = nullptr;
    Node* tail = nullptr;
    Node* previous = nullptr;
    Node* cursor = nullptr;
    int count = 0;
    int index = -1;

    DynamicList() = default;
    DynamicList(const DynamicList&) = delete;
    DynamicList& operator=(const DynamicList&) = delete;
    ~DynamicList() { RemoveAll(); }

    void MoveFirst() {
        DYNAMIC_LIST_CHECK(!head || count >= 1);
        if (!head) return;
        previous = nullptr;
        cursor = head;
        index = 0;
    }

    // The caller guarantees 0 <= i <= count - 1.
    void MoveTo(int i) {
        DYNAMIC_LIST_CHECK(!head || count >= 1);
        DYNAMIC_LIST_CHECK(i >= 0 && i < count);
        MoveFirst();
        while (index < i) MoveNext();
    }

    void MoveNext() {
        DYNAMIC_LIST_CHECK(count != 0 && cursor);
        previous = cursor;
        cursor = cursor->next;
        ++index;
    }

    T& GetCurrent() {
        DYNAMIC_LIST_CHECK(count != 0 && cursor);
        return cursor->element;
    }

    void AddTail(const T& element) { Append(MakeNode(element)); }
    void AddTail(T&& element) { Append(MakeNode(std::move(element))); }

    // Unlinks and frees the cursor's node; the cursor moves to the following node at the same index.
    void RemoveCurrent() {
        DYNAMIC_LIST_CHECK(cursor);
        Node* next = cursor->next;
        (previous ? previous->next : head) = next;
        if (cursor == tail) {
            tail = previous;
            --index;
        }
        delete cursor;
        cursor = next;
        --count;
    }

    void RemoveAll() {
        while (head) {
            Node* next = head->next;
            delete head;
            head = next;
        }
        tail = previous = cursor = nullptr;
        count = 0;
        index = -1;
    }

private:
    template <typename U>
    static Node* MakeNode(U&& element) {
        try {
            return new Node{nullptr, std::forward<U>(element)};
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }

    void Append(Node* node) {
        DYNAMIC_LIST_CHECK(node);
        previous = tail;
        (tail ? tail->next : head) = node;
        tail = cursor = node;
        index = count++;
    }
};
