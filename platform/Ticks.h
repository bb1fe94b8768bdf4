// Millisecond tick counter for the animation delays.
#pragma once

#include <chrono>
#include <cstdint>

namespace kurvex {

// Milliseconds on a monotonic clock; only differences between two calls mean anything.
inline std::int64_t GetTickCount()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace kurvex
