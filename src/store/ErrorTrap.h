// The error-trap convention: run a body, and when it throws, show the procedure's tag followed
// by the error description and return. Every handler and dialog procedure is wrapped in one.
#pragma once

#include "platform/log/Log.h"
#include "store/StoreSession.h"

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace velmora {

// The message the user saw, kept in the log under the procedure's tag (without its " :").
inline void logTrap(std::string_view tag, std::string_view description) {
    while (!tag.empty() && (tag.back() == ':' || tag.back() == ' '))
        tag.remove_suffix(1);
    log::error(tag, description);
}

// The trap itself: shows and logs the tag and description of whatever the body threw.
inline void reportTrapped(const StoreContext& state, std::string_view tag) {
    ++state.trappedErrors;
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

// An operation that either completes or leaves the store as it was: one transaction level that
// is rolled back when the body throws (the error goes on to the caller) and also when a step
// inside it trapped and reported an error, in which case the body's result is still returned
// (the message was shown; nothing half-done stays). undo runs after such a rollback.
template <typename Body, typename Undo>
auto wholeOperation(const StoreContext& state, Body&& body, Undo&& undo) -> decltype(body()) {
    struct Abandoned {};
    using Result = decltype(body());
    const long trappedBefore = state.trappedErrors;
    std::conditional_t<std::is_void_v<Result>, bool, std::optional<Result>> result{};
    try {
        ado::inTransaction(state.connection(), [&] {
            if constexpr (std::is_void_v<Result>)
                body();
            else
                result = body();
            if (state.trappedErrors != trappedBefore) throw Abandoned{};
        });
    } catch (const Abandoned&) {
        undo();
        log::warn("rolled back", "an operation stopped at a reported error; it wrote nothing");
    }
    if constexpr (!std::is_void_v<Result>) return std::move(*result);
}

template <typename Body> auto wholeOperation(const StoreContext& state, Body&& body) {
    return wholeOperation(state, std::forward<Body>(body), [] {});
}

// The description of the exception in flight, for a log line.
inline std::string currentErrorText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

// True when body ran to its end and no step inside it trapped or dropped an error: what a
// dialog's done label waits for. An error the body throws goes on to the caller.
template <typename Body> bool completedCleanly(const StoreContext& state, Body&& body) {
    const long before = state.trappedErrors;
    body();
    return state.trappedErrors == before;
}

// A step run with errors ignored: a failure is cleared without a message, but the log keeps it
// as a warning under what (the operation and the item), since whatever the step was to do for
// the user did not happen.
template <typename Body> bool ignoreErrors(std::string_view what, Body&& body) {
    try {
        body();
        return true;
    } catch (...) {
        log::warn(what, currentErrorText());
    }
    return false;
}

template <typename Body> bool ignoreErrors(Body&& body) {
    return ignoreErrors("ignored", std::forward<Body>(body));
}

// A step whose failure the user is not told of, yet which must not leave the operation around
// it half done: the failure is logged under what and the operation is rolled back whole.
template <typename Body>
bool ignoreErrorsAndUndo(const StoreContext& state, std::string_view what, Body&& body) {
    if (ignoreErrors(what, std::forward<Body>(body))) return true;
    ++state.trappedErrors;
    return false;
}

} // namespace velmora
