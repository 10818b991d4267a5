// The capacities the platform layer needs itself; engine/limits.h includes them with every other one.
#pragma once

constexpr int kScreenWidth = 800; // client pixels and screen-space units
constexpr int kScreenHeight = 600;

constexpr int kMaxBatchQuads = 4096; // quads the render layer gathers before drawing them anyway
