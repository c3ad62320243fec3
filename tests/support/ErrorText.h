// The tests' way to look at an error: the description a call raised, or "<no error>".
// Only errors of the given type count; anything else escapes and fails the test.
#pragma once

#include <functional>
#include <string>

namespace velmora::testing {

template <typename Error> std::string errorText(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.what();
    }
    return "<no error>";
}

} // namespace velmora::testing
