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

// Whether a shown message is the error trap's: the tag, then a description holding words (the
// engine's own text may wrap them, as PostgreSQL's does).
inline bool trapped(const std::string& message, const std::string& tag, const std::string& words) {
    return message.rfind(tag, 0) == 0 && message.find(words, tag.size()) != std::string::npos;
}

} // namespace velmora::testing
