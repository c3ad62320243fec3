// The error-trap convention: run a body, and when it throws, show the procedure's tag followed
// by the error description and return. Every handler and dialog procedure is wrapped in one.
#pragma once

#include "store/StoreSession.h"

#include <exception>
#include <string>
#include <string_view>

namespace velmora {

// True when the body ran to its end; false when the trap fired (and the message was shown).
template <typename Body>
bool errorTrap(const StoreContext& state, std::string_view tag, Body&& body) {
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        showMessage(state, std::string(tag) + e.what());
    } catch (...) {
        showMessage(state, std::string(tag) + "Unknown error");
    }
    return false;
}

// The body's result, or an empty one when the trap fired (and the message was shown). Every
// road builds its own result, so a failure never leaves a half-set value behind.
template <typename Body>
auto errorTrapResult(const StoreContext& state, std::string_view tag, Body&& body)
    -> decltype(body()) {
    try {
        return body();
    } catch (const std::exception& e) {
        showMessage(state, std::string(tag) + e.what());
    } catch (...) {
        showMessage(state, std::string(tag) + "Unknown error");
    }
    return {};
}

// A row write: one transaction level under the trap, so a failed write leaves nothing half
// written. False when the trap fired.
template <typename Body>
bool trappedWrite(const StoreContext& state, std::string_view tag, Body&& body) {
    return errorTrap(state, tag, [&] { ado::inTransaction(state.connection(), body); });
}

// A step run with errors ignored: a failure is cleared without a message.
template <typename Body> bool ignoreErrors(Body&& body) {
    try {
        body();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace velmora
