// The error-trap convention: run a body, and when it throws, show the procedure's tag followed
// by the error description and return. Every handler and dialog procedure is wrapped in one.
#pragma once

#include "platform/log/Log.h"
#include "store/StoreSession.h"

#include <exception>
#include <string>
#include <string_view>

namespace velmora {

// The message the user saw, kept in the log under the procedure's tag (without its " :").
inline void logTrap(std::string_view tag, std::string_view description) {
    while (!tag.empty() && (tag.back() == ':' || tag.back() == ' '))
        tag.remove_suffix(1);
    log::error(tag, description);
}

// The trap itself: shows and logs the tag and description of whatever the body threw.
inline void reportTrapped(const StoreContext& state, std::string_view tag) {
    try {
        throw;
    } catch (const std::exception& e) {
        logTrap(tag, e.what());
        showMessage(state, std::string(tag) + e.what());
    } catch (...) {
        logTrap(tag, "Unknown error");
        showMessage(state, std::string(tag) + "Unknown error");
    }
}

// True when the body ran to its end; false when the trap fired (and the message was shown).
template <typename Body>
bool errorTrap(const StoreContext& state, std::string_view tag, Body&& body) {
    try {
        body();
        return true;
    } catch (...) {
        reportTrapped(state, tag);
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
    } catch (...) {
        reportTrapped(state, tag);
    }
    return {};
}

// A row write: one transaction level under the trap, so a failed write leaves nothing half
// written. False when the trap fired.
template <typename Body>
bool trappedWrite(const StoreContext& state, std::string_view tag, Body&& body) {
    return errorTrap(state, tag, [&] { ado::inTransaction(state.connection(), body); });
}

// A step run with errors ignored: a failure is cleared without a message (the log keeps it at
// debug level, for whoever wonders why a step left nothing behind).
template <typename Body> bool ignoreErrors(Body&& body) {
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        log::debug("ignored", e.what());
    } catch (...) {
        log::debug("ignored", "Unknown error");
    }
    return false;
}

} // namespace velmora
