// Integer arithmetic held to the int range: counters read from files (a score, a combo) may be anywhere
// in it, and the points made from them must not wrap.
#pragma once

#include <cstdint>

inline int clampToIntRange(int64_t v) {
    return static_cast<int>(v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : v);
}
inline int saturatingAdd(int a, int b) {
    return clampToIntRange(static_cast<int64_t>(a) + b);
}
inline int saturatingMultiply(int a, int b) {
    return clampToIntRange(static_cast<int64_t>(a) * b);
}
