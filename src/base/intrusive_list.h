// Intrusive doubly linked lists: every record carries its own prev/next, and
// every list keeps its first and last entry, so inserts at the end and unlinks
// are constant time and nothing is ever searched by number.
#pragma once

namespace zep {

// Appends item after tail. Prev and Next name the link fields, so one record
// can sit on several lists (rules sit on ruleList and on their type's chain).
template <auto Prev, auto Next, class T>
void listAppend(T*& head, T*& tail, T* item) {
    item->*Prev = tail;
    item->*Next = nullptr;
    if (tail)
        tail->*Next = item;
    else
        head = item;
    tail = item;
}

// Unlinks item, moving head or tail when it is the first or last entry.
template <auto Prev, auto Next, class T>
void listUnlink(T*& head, T*& tail, T* item) {
    T* before = item->*Prev;
    T* after = item->*Next;
    if (before)
        before->*Next = after;
    else
        head = after;
    if (after)
        after->*Prev = before;
    else
        tail = before;
    item->*Prev = nullptr;
    item->*Next = nullptr;
}

template <class T>
void listAppend(T*& head, T*& tail, T* item) {
    listAppend<&T::prev, &T::next>(head, tail, item);
}

template <class T>
void listUnlink(T*& head, T*& tail, T* item) {
    listUnlink<&T::prev, &T::next>(head, tail, item);
}

}  // namespace zep
