#pragma once
// Checked element access for every vector and list of the game.
//
// An index out of range never stops the program on the spot: the access
// writes one line to the run report ("err V[index] ( count , element size )",
// "err L[...]" for lists), asks the main window to close (the program then
// ends in order) and hands back a usable element so the current frame can
// finish: element 0 of a vector, or a default element kept for the purpose
// (one per element type, made at its first use and handed out again with
// whatever changes callers made to it) for a list or an empty vector.
// Nothing outside the container is ever read or written.

#include <cstddef>
#include <list>
#include <vector>

// Writes the failure line made from the format ("err V[%d] ( %d , %d )" or
// "err L[%d] ( %d , %d )") to the error log and the run report.
void LogBadIndex(const char* format, int index, std::size_t count, std::size_t elementSize);
// LogBadIndex, then WM_CLOSE to the main window.
void ReportBadIndex(const char* format, int index, std::size_t count, std::size_t elementSize);

// The element handed out by failed accesses that have no element 0 to give.
template <class T> T& FallbackElement()
{
    static T element{};
    return element;
}

template <class T, class A> T& VecAt(std::vector<T, A>& v, int i)
{
    if (i >= 0 && static_cast<std::size_t>(i) < v.size()) return v[static_cast<std::size_t>(i)];
    ReportBadIndex("err V[%d] ( %d , %d )", i, v.size(), sizeof(T));
    return v.empty() ? FallbackElement<T>() : v[0];
}

template <class T, class A> const T& VecAt(const std::vector<T, A>& v, int i)
{
    if (i >= 0 && static_cast<std::size_t>(i) < v.size()) return v[static_cast<std::size_t>(i)];
    ReportBadIndex("err V[%d] ( %d , %d )", i, v.size(), sizeof(T));
    return v.empty() ? FallbackElement<T>() : v[0];
}

// Position access from the first element of a list.
template <class T, class A> T& ListAt(std::list<T, A>& l, int i)
{
    if (i >= 0 && static_cast<std::size_t>(i) < l.size()) {
        auto it = l.begin();
        for (int step = 0; step < i; ++step)
            ++it;
        return *it;
    }
    ReportBadIndex("err L[%d] ( %d , %d )", i, l.size(), sizeof(T));
    return FallbackElement<T>();
}

// Sets every element, first to last, to the value.
template <class T, class A, class V> void VecFill(std::vector<T, A>& v, const V& value)
{
    for (std::size_t i = 0; i < v.size(); ++i)
        VecAt(v, static_cast<int>(i)) = value;
}

// Removes every element equal to the reference (a pointer or shared pointer
// to a character), keeping the others in their order; true when at least
// one went.
template <class P, class A> bool RemoveCharaRef(std::vector<P, A>& v, const P& ref)
{
    bool removed = false;
    for (int i = 0; i < static_cast<int>(v.size());) {
        if (VecAt(v, i) == ref) {
            v.erase(v.begin() + i);
            removed = true;
        } else {
            ++i;
        }
    }
    return removed;
}
