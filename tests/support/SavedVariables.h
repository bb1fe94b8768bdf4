// Test helper: a snapshot of one list of shared variables that writes them back when it goes.
#pragma once

#include <tuple>

namespace kurvex::test {

template <class Refs> struct ValuesOf;
template <class... T> struct ValuesOf<std::tuple<T&...>> {
    using type = std::tuple<T...>;
};

// List is a function returning std::tie of the variables; their copies are taken when this is made.
template <auto List> class SavedVariables {
public:
    SavedVariables() = default;
    ~SavedVariables() { List() = saved_; }
    SavedVariables(const SavedVariables&) = delete;
    SavedVariables& operator=(const SavedVariables&) = delete;

private:
    typename ValuesOf<decltype(List())>::type saved_ = List();
};

} // namespace kurvex::test
