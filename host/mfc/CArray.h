#pragma once
// CArray: MFC's growable array over std::vector, with the MFC member names the module uses.
#include <cstddef>
#include <vector>

template <class T, class ARG = const T&>
class CArray : public std::vector<T> {
    using Base = std::vector<T>;

public:
    using Base::Base;

    int GetSize() const { return static_cast<int>(Base::size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return Base::empty(); }

    // A negative size is taken as 0.
    void SetSize(int newSize) { Base::resize(newSize > 0 ? static_cast<std::size_t>(newSize) : 0); }
    void RemoveAll() { Base::clear(); }

    int Add(ARG element) { Base::push_back(element); return GetUpperBound(); }
    int Append(const CArray& other) { const int at = GetSize(); Base::insert(Base::end(), other.begin(), other.end()); return at; }
    void Copy(const CArray& other) { Base::operator=(other); }

    const T& GetAt(int i) const { return Base::at(static_cast<std::size_t>(i)); }
    T& ElementAt(int i) { return Base::at(static_cast<std::size_t>(i)); }
    void SetAt(int i, ARG element) { Base::at(static_cast<std::size_t>(i)) = element; }
    T* GetData() { return Base::data(); }
    const T* GetData() const { return Base::data(); }

    // Removes count elements from index i; a range outside the array removes what lies inside.
    void RemoveAt(int i, int count = 1)
    {
        if (i < 0 || count <= 0 || i >= GetSize()) return;
        const int last = (count > GetSize() - i) ? GetSize() : i + count;
        Base::erase(Base::begin() + i, Base::begin() + last);
    }
    void InsertAt(int i, ARG element, int count = 1)
    {
        if (i < 0 || count <= 0) return;
        if (i > GetSize()) SetSize(i);
        Base::insert(Base::begin() + i, static_cast<std::size_t>(count), element);
    }
};
