// Host events: a list of subscribers per event, raised synchronously on the caller's thread.
// A Subscription unhooks its handler when it is destroyed, so a released hub stops receiving.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace velmora::host {

class Subscription {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> unhook) : unhook_(std::move(unhook)) {}
    Subscription(Subscription&& other) noexcept : unhook_(std::exchange(other.unhook_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            unhook_ = std::exchange(other.unhook_, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }
    void reset() {
        if (unhook_) std::exchange(unhook_, {})();
    }
    explicit operator bool() const { return static_cast<bool>(unhook_); }

  private:
    std::function<void()> unhook_;
};

template <typename... Args> class EventSource {
  public:
    using Handler = std::function<void(Args...)>;

    // The handler list outlives neither the source nor the subscription: both hold it
    // weakly/strongly.
    [[nodiscard]] Subscription subscribe(Handler handler) {
        const int id = state_->next++;
        state_->handlers.emplace(id, std::move(handler));
        std::weak_ptr<State> weak = state_;
        return Subscription([weak, id] {
            if (auto state = weak.lock()) state->handlers.erase(id);
        });
    }

    // Handlers may unsubscribe (or subscribe) while the event is being raised.
    void raise(Args... args) const {
        auto keep = state_;
        std::map<int, Handler> snapshot = keep->handlers;
        for (auto& [id, handler] : snapshot)
            if (keep->handlers.count(id)) handler(args...);
    }

    bool hasSubscribers() const { return !state_->handlers.empty(); }

  private:
    struct State {
        std::map<int, Handler> handlers;
        int next = 0;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace velmora::host
