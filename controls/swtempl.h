// SwArray: the growable array behind the controls' item tables and binding tables. It holds plain values
// (the library keeps pointers in it) and never runs code for its elements: it does not free what its
// pointers point to. Element construction for class types is left out on purpose.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

// A failed check writes the platform's debug-check line (file and line of the check) and breaks into the
// debugger when one is attached; the operation then does nothing, so a bad index never touches memory.
#define SWARRAY_CHECK(exp) ((exp) ? true : (DEBUGCHK(false), false))

template <class TYPE> class SwArray {
    static_assert(std::is_trivially_copyable_v<TYPE>, "SwArray holds plain values such as pointers");

public:
    constexpr SwArray() : m_pData(nullptr), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
    // A copy gets a block of its own, so the two arrays never free the same block.
    SwArray(const SwArray& other) : SwArray() { CopyFrom(other); }
    SwArray& operator=(const SwArray& other) {
        if (this != &other) CopyFrom(other);
        return *this;
    }
    ~SwArray() { std::free(m_pData); }

    int GetSize() const { return m_nSize; }
    int GetCapacity() const { return m_nMaxSize; }
    int GetGrowBy() const { return m_nGrowBy; }

    TYPE GetAt(int index) const {
        if (!SWARRAY_CHECK(index >= 0 && index < m_nSize)) return TYPE{};
        return m_pData[index];
    }

    void SetAtGrow(int index, TYPE value) {
        if (!SWARRAY_CHECK(index >= 0)) return;
        if (index >= m_nSize) SetSize(index + 1);
        if (index < m_nSize) m_pData[index] = value;
    }

    int Add(TYPE value) {
        const int index = m_nSize;
        SetAtGrow(index, value);
        return index;
    }

    void RemoveAt(int index, int count = 1) {
        if (!SWARRAY_CHECK(index >= 0)) return;
        if (!SWARRAY_CHECK(count >= 0)) return;
        if (!SWARRAY_CHECK(index + count <= m_nSize)) return;
        const int moveCount = m_nSize - (index + count);
        if (moveCount) std::memmove(m_pData + index, m_pData + index + count, size_t(moveCount) * sizeof(TYPE));
        m_nSize -= count;
    }

    void SetSize(int newSize, int growBy = -1) {
        if (!SWARRAY_CHECK(newSize >= 0)) return;
        if (growBy != -1) m_nGrowBy = growBy;

        if (newSize == 0) {
            std::free(m_pData);
            m_pData = nullptr;
            m_nSize = m_nMaxSize = 0;
        } else if (m_pData == nullptr) {
            m_pData = Allocate(newSize);
            std::memset(static_cast<void*>(m_pData), 0, size_t(newSize) * sizeof(TYPE));
            m_nSize = m_nMaxSize = newSize;
        } else if (newSize <= m_nMaxSize) {
            if (newSize > m_nSize)
                std::memset(static_cast<void*>(m_pData + m_nSize), 0, size_t(newSize - m_nSize) * sizeof(TYPE));
            m_nSize = newSize;
        } else {
            // Grow by an eighth of the current size, at least 4 and at most 1024 elements, unless the owner
            // fixed the step: repeated Add reallocates rarely and a big table keeps few spare slots.
            int step = m_nGrowBy;
            if (step == 0) {
                step = m_nSize / 8;
                step = step < 4 ? 4 : (step > 1024 ? 1024 : step);
            }
            const int newMax = newSize > m_nMaxSize + step ? newSize : m_nMaxSize + step;
            if (!SWARRAY_CHECK(newMax >= m_nMaxSize)) return;
            if (!SWARRAY_CHECK(newSize > m_nSize)) return;
            // The heap grows the block where it lies when it can (one with a mapping of its own is remapped)
            // and moves it otherwise.
            TYPE* data = static_cast<TYPE*>(std::realloc(static_cast<void*>(m_pData), Bytes(newMax)));
            if (!data) throw std::bad_alloc();
            std::memset(static_cast<void*>(data + m_nSize), 0, size_t(newSize - m_nSize) * sizeof(TYPE));
            m_pData = data;
            m_nSize = newSize;
            m_nMaxSize = newMax;
        }
    }

private:
    static size_t Bytes(int count) { return size_t(count) * sizeof(TYPE); }

    static TYPE* Allocate(int count) {
        void* data = std::malloc(Bytes(count));
        if (!data) throw std::bad_alloc();
        return static_cast<TYPE*>(data);
    }

    void CopyFrom(const SwArray& other) {
        std::free(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
        m_nGrowBy = other.m_nGrowBy;
        if (other.m_nSize > 0) {
            m_pData = Allocate(other.m_nSize);
            std::memcpy(static_cast<void*>(m_pData), other.m_pData, size_t(other.m_nSize) * sizeof(TYPE));
            m_nSize = m_nMaxSize = other.m_nSize;
        }
    }

    TYPE* m_pData;
    int m_nSize;
    int m_nMaxSize;
    int m_nGrowBy;
};
