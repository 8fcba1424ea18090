#pragma once
// Loads started ahead of a walk over a linked list. The nodes of a list lie
// scattered in memory, and the processor learns each next address only
// when the node before it arrives, so a walk over large objects waits a
// full memory latency per node. Asking for the node two ahead while the
// current one is worked on hides most of that wait. A prefetch never
// faults and changes nothing but the caches.

#include <cstddef>
#include <list>

// Asks for the cache lines of an element of a list and of its node's
// links, which lie just before it.
template <class T> void PrefetchListElement(const T& element)
{
    const char* const first = reinterpret_cast<const char*>(&element) - 2 * sizeof(void*);
    const char* const last = reinterpret_cast<const char*>(&element) + sizeof(T) - 1;
    for (const char* p = first; p < last; p += 64)
        __builtin_prefetch(p);
    __builtin_prefetch(last);
}

// The element two nodes after `it`, or null when the list ends before it.
template <class T>
const T* TwoAhead(const std::list<T>& list, typename std::list<T>::const_iterator it)
{
    if (it == list.end() || ++it == list.end() || ++it == list.end()) return nullptr;
    return &*it;
}
