#pragma once
// The objects of one group in the order they entered it: pointers in a
// vector, so that a walk over the group asks for every object at once
// instead of waiting for each link on the one before. An object that leaves
// leaves a hole (nothing moves, so its neighbours keep their places); holes
// are closed up when an object enters and they outnumber the objects. Each
// object keeps its place in the vector in its m_GroupSlot.
//
// Walks read the group as it stands; nothing may enter it during a walk
// (a removal is safe: it only leaves a hole).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

template <class T> class cGroupList {
public:
    // Walks the objects in order, stepping over the holes.
    class Iterator {
    public:
        using value_type = T*;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        Iterator(T* const* at, T* const* end) : m_At(at), m_End(end) { Skip(); }
        T* operator*() const { return *m_At; }
        Iterator& operator++()
        {
            ++m_At;
            Skip();
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return m_At == other.m_At; }

    private:
        void Skip()
        {
            while (m_At != m_End && !*m_At)
                ++m_At;
        }
        T* const* m_At = nullptr;
        T* const* m_End = nullptr;
    };

    Iterator begin() const { return {m_Slots.data(), m_Slots.data() + m_Slots.size()}; }
    Iterator end() const
    {
        T* const* last = m_Slots.data() + m_Slots.size();
        return {last, last};
    }
    std::size_t size() const { return m_Count; }
    bool empty() const { return m_Count == 0; }
    T* front() const { return *begin(); }
    // The slots in order, a hole as null.
    std::span<T* const> Slots() const { return m_Slots; }

    // Enters an object at the end.
    void Add(T& object)
    {
        if (m_Slots.size() - m_Count > m_Count && m_Slots.size() >= kCloseUpFrom) CloseUp();
        object.m_GroupSlot = static_cast<std::int32_t>(m_Slots.size());
        m_Slots.push_back(&object);
        ++m_Count;
    }

    // Takes out an object entered in this list.
    void Remove(T& object)
    {
        m_Slots[static_cast<std::size_t>(object.m_GroupSlot)] = nullptr;
        object.m_GroupSlot = -1;
        --m_Count;
        while (!m_Slots.empty() && !m_Slots.back())
            m_Slots.pop_back();
    }

    // Forgets every object (their slots are left as they were).
    void clear()
    {
        m_Slots.clear();
        m_Count = 0;
    }

private:
    // Below this many slots holes cost less than closing them up.
    static constexpr std::size_t kCloseUpFrom = 32;

    void CloseUp()
    {
        std::size_t kept = 0;
        for (T* object : m_Slots)
            if (object) {
                object->m_GroupSlot = static_cast<std::int32_t>(kept);
                m_Slots[kept++] = object;
            }
        m_Slots.resize(kept);
    }

    std::vector<T*> m_Slots;
    std::size_t m_Count = 0;
};
