// RAII guard for tests that change an engine global: the value (array included) comes back when
// the guard goes out of scope, also when an assertion returns early.
#pragma once
#include <algorithm>
#include <iterator>
#include <type_traits>

template <class T>
class Restore {
public:
    explicit Restore(T& var) : var_(var) { Copy(var_, saved_); }
    ~Restore() { Copy(saved_, var_); }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    static void Copy(const T& from, T& to) {
        if constexpr (std::is_array_v<T>) std::copy(std::begin(from), std::end(from), std::begin(to));
        else to = from;
    }
    T& var_;
    std::remove_cv_t<T> saved_;
};
