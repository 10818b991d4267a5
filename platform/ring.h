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

    // Oldest first, across the wrap: for (T& value : ring).
    template <class R, class V> class Walker {
      public:
        Walker(R* ring, int i) : ring_(ring), i_(i) {}
        V& operator*() const { return (*ring_)[i_]; }
        Walker& operator++() {
            ++i_;
            return *this;
        }
        bool operator!=(const Walker& other) const { return i_ != other.i_; }

      private:
        R* ring_;
        int i_;
    };
    Walker<Ring, T> begin() { return {this, 0}; }
    Walker<Ring, T> end() { return {this, count_}; }
    Walker<const Ring, const T> begin() const { return {this, 0}; }
    Walker<const Ring, const T> end() const { return {this, count_}; }

  private:
    T items_[N] = {};
    int head_ = 0; // slot of the oldest value
    int count_ = 0;
};
