// A queue of at most N values in place, taken oldest first: nothing is ever allocated. Full means the
// newest overwrites the oldest: push() on a full ring drops the oldest value. A ring whose owner must
// refuse instead checks full() before pushing.
#pragma once

#include <cassert>

template <class T, int N> class Ring {
  public:
    static constexpr int kCapacity = N;

    T& push(const T& value) { // the slot it went to; the oldest is dropped when full
        if (count_ == N) popOldest();
        T& slot = items_[(head_ + count_) % N];
        slot = value;
        ++count_;
        return slot;
    }
    void popOldest() {
        assert(count_ > 0);
        head_ = (head_ + 1) % N;
        --count_;
    }
    void clear() {
        head_ = 0;
        count_ = 0;
    }

    int size() const { return count_; }
    bool empty() const { return count_ == 0; }
    bool full() const { return count_ == N; }
    T& operator[](int i) { // 0 is the oldest
        assert(i >= 0 && i < count_);
        return items_[(head_ + i) % N];
    }
    const T& operator[](int i) const {
        assert(i >= 0 && i < count_);
        return items_[(head_ + i) % N];
    }
    T& oldest() { return (*this)[0]; }
    T& newest() { return (*this)[count_ - 1]; }

  private:
    T items_[N] = {};
    int head_ = 0; // slot of the oldest value
    int count_ = 0;
};
