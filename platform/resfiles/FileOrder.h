#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace platform {

// A list that grows at its end and loses elements anywhere, as a resource
// file's resources do. An erase moves the elements on the shorter side of
// it, so that removing every element first to last, or last to first,
// costs each a constant, while a push costs what a vector's does. The
// elements are the last size() of one vector, whose first places are left
// free by erases near the front and dropped when the vector grows.
template <class T>
class FileOrder {
public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    iterator begin() { return items_.begin() + std::ptrdiff_t(start_); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin() + std::ptrdiff_t(start_); }
    const_iterator end() const { return items_.end(); }
    size_t size() const { return items_.size() - start_; }
    bool empty() const { return size() == 0; }
    T& operator[](size_t i) { return items_[start_ + i]; }
    const T& operator[](size_t i) const { return items_[start_ + i]; }
    T& back() { return items_.back(); }

    // May throw std::bad_alloc, and then nothing changed.
    template <class U>
    void push_back(U&& item)
    {
        if (start_ > 0 && items_.size() == items_.capacity()) {
            std::vector<T> live;
            live.reserve(2 * size() + 8);
            for (T& kept : *this) live.push_back(std::move(kept));
            items_.swap(live);
            start_ = 0;
        }
        items_.push_back(std::forward<U>(item));
    }

    void pop_back()
    {
        items_.pop_back();
        if (empty()) Clear();
    }

    void erase(iterator at)
    {
        if (at - begin() < end() - at) {
            for (iterator to = at; to != begin(); --to) *to = std::move(*(to - 1));
            *begin() = T();
            ++start_;
        } else {
            items_.erase(at);
        }
        if (empty()) Clear();
    }

private:
    void Clear()
    {
        items_.clear();
        start_ = 0;
    }

    std::vector<T> items_;
    size_t start_ = 0;
};

}  // namespace platform
