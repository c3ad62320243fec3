// The shape the in-memory host's collections share: elements in order, a fault check on every
// call, and a 1-based Item that raises the host's out-of-bounds error.
#pragma once

#include "platform/host/HostCore.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velmora::host {

// Hands out an element as the collection holds it.
struct AsHeld {
    template <typename Element>
    const Element& operator()(const HostCore& /*core*/, const Element& element) const {
        return element;
    }
};

// Interface: the collection of the object model (Attachments, Explorers, ...). Element: what
// the list holds. Present: makes what Item hands out of a held element, given the host.
template <typename Interface, typename Element, typename Present = AsHeld>
class InMemoryCollection
    : public Interface,
      public std::enable_shared_from_this<InMemoryCollection<Interface, Element, Present>> {
  public:
    using Value = decltype(std::declval<const Interface&>().Item(1));

    int Count() const override {
        host_.live(name_, "Count");
        return static_cast<int>(list_.size());
    }
    Value Item(int index) const override {
        const HostCore& core = host_.live(name_, "Item");
        return Present{}(core, at(index));
    }

    // Host side, without fault checks.
    const std::vector<Element>& all() const { return list_; }
    // Puts back what a kept item held, as it was when it was kept.
    void restore(std::vector<Element> list) { list_ = std::move(list); }

  protected:
    // name: the collection as fault names call it ("Attachments"); noun: one element as the
    // out-of-bounds error calls it ("attachment").
    InMemoryCollection(std::weak_ptr<HostCore> core, const char* name, const char* noun)
        : host_(std::move(core)), name_(name), noun_(noun) {}

    // Raises HostError for an index outside 1 to Count.
    const Element& at(int index) const {
        if (index < 1 || static_cast<std::size_t>(index) > list_.size())
            throw HostError("Array index out of bounds: " + std::string(noun_) + " " +
                            std::to_string(index) + " of " + std::to_string(list_.size()));
        return list_[static_cast<std::size_t>(index - 1)];
    }
    // Raises HostError for an index outside 1 to Count.
    void eraseAt(int index) {
        at(index);
        list_.erase(list_.begin() + (index - 1));
    }
    // "<name>.<member>" after the host's liveness and fault checks.
    std::shared_ptr<HostCore> use(const char* member) const {
        auto core = host_.lock();
        core->check(name_, member);
        return core;
    }
    // What a closing window calls to leave this collection, which it holds weakly; the
    // collection must be owned by a shared_ptr.
    template <typename Object> std::function<void(Object*)> forgetter() {
        return [weak = this->weak_from_this()](Object* object) {
            if (auto self = weak.lock())
                std::erase_if(self->list_, [object](const auto& e) { return e.get() == object; });
        };
    }

    HostRef host_;
    std::vector<Element> list_;

  private:
    const char* name_;
    const char* noun_;
};

} // namespace velmora::host
