// Test helper: puts shared variables back to their values from before a test.
#pragma once

#include <tuple>

namespace kurvex {

// Remembers the variables given to it and writes their old values back when it goes, so that a
// test's changes to the program's shared state never leak into the next test.
template <class... T> class RestoreShared {
public:
    explicit RestoreShared(T&... vars) : refs_(vars...), saved_(vars...) {}
    ~RestoreShared() { refs_ = saved_; }
    RestoreShared(const RestoreShared&) = delete;
    RestoreShared& operator=(const RestoreShared&) = delete;

private:
    std::tuple<T&...> refs_;
    std::tuple<T...> saved_;
};

} // namespace kurvex
