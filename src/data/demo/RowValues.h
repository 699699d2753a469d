#pragma once

#include <array>
#include <cstddef>

namespace velmor::data::demo {

// One value per catalogue row of a chapter, addressed by the row's 1-based position (the named
// rows of data/ChapterCatalogue.h).
template <typename T, int Count>
class RowValues {
public:
    static constexpr int count() { return Count; }

    T& operator[](int position) { return m_values[size_t(position - 1)]; }
    const T& operator[](int position) const { return m_values[size_t(position - 1)]; }

    auto begin() { return m_values.begin(); }
    auto end() { return m_values.end(); }
    auto begin() const { return m_values.begin(); }
    auto end() const { return m_values.end(); }

private:
    std::array<T, size_t(Count)> m_values {};
};

}
