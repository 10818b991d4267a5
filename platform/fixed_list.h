// A list of at most N values in place: nothing is ever allocated. Full means refused: add() gives null
// and push() false, and the list stays as it was. Order is the order of adding; removeAt keeps it.
#pragma once

#include <cassert>

template <class T, int N> class FixedList {
  public:
    static constexpr int kCapacity = N;

    T* add() { // the next slot, as it was left, or null when full
        if (count_ == N) return nullptr;
        return &items_[count_++];
    }
    bool push(const T& value) { // false, and nothing kept, when full
        T* slot = add();
        if (!slot) return false;
        *slot = value;
        return true;
    }
    void removeAt(int i) { // the later ones move up one place
        assert(i >= 0 && i < count_);
        for (int k = i; k + 1 < count_; ++k) items_[k] = items_[k + 1];
        --count_;
    }
    template <class Pred> int removeIf(Pred pred) { // the rest keep their order; returns how many went
        int kept = 0;
        for (int k = 0; k < count_; ++k) {
            if (pred(static_cast<const T&>(items_[k]))) continue;
            if (kept != k) items_[kept] = items_[k];
            ++kept;
        }
        int removed = count_ - kept;
        count_ = kept;
        return removed;
    }
    void clear() { count_ = 0; }

    int size() const { return count_; }
    bool empty() const { return count_ == 0; }
    bool full() const { return count_ == N; }
    T& operator[](int i) {
        assert(i >= 0 && i < count_);
        return items_[i];
    }
    const T& operator[](int i) const {
        assert(i >= 0 && i < count_);
        return items_[i];
    }
    T& back() { return (*this)[count_ - 1]; }
    T* begin() { return items_; }
    T* end() { return items_ + count_; }
    const T* begin() const { return items_; }
    const T* end() const { return items_ + count_; }

  private:
    T items_[N] = {};
    int count_ = 0;
};
