#pragma once
// The vector kernels of BlendLine, one set per instruction set, and the
// choice of the widest set the processor has, made once on first use.
// Every kernel gives the same bytes as the scalar rule of Blend.cpp.

#include <cstdint>

#include "bitop/BitOp.h"

namespace zel::bitop {

enum class TBlendPath : uint8_t { Scalar, Sse2, Avx2, Avx512 };

// The widest path this processor (and its operating system) runs.
TBlendPath BestBlendPath();
// The path BlendLine takes now.
TBlendPath CurrentBlendPath();
// Makes BlendLine take path, or the best one when the processor lacks it;
// returns the path taken.  For tests and benchmarks that compare the paths.
TBlendPath UseBlendPath(TBlendPath path);
const char* BlendPathName(TBlendPath path);

// Blends the leading pixels of a line and returns how many it did; the
// scalar rule does the rest.
using TBlendKernel = int (*)(uint8_t* dst, const uint8_t* src, uint8_t opacity, int count);
TBlendKernel CurrentBlendKernel(TBlendMode mode, bool fullOpacity);

} // namespace zel::bitop
