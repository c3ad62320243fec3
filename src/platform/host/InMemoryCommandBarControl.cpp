// The controls of an in-memory command bar.
#include "platform/host/InMemoryCommandBarControl.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryCommandBars.h"

#include <algorithm>

namespace velmora::host {

namespace {

// Custom controls answer Id 1, as the host's own custom buttons do.
constexpr int kCustomId = 1;

} // namespace

std::shared_ptr<InMemoryCommandBarControl>
InMemoryCommandBarControl::create(const std::weak_ptr<HostCore>& core, int type, int id,
                                  std::string caption, bool temporary) {
    auto control =
        std::make_shared<InMemoryCommandBarControl>(core, type, id, std::move(caption), temporary);
    if (type == msoControlPopup)
        control->children_ = std::make_shared<InMemoryCommandBarControls>(core);
    return control;
}

std::shared_ptr<HostCore> InMemoryCommandBarControl::use(const char* member) const {
    auto core = host_.use(member);
    if (deleted_)
        throw HostError(std::string("The control \"") + caption_ + "\" has been deleted (" +
                        member + ")");
    return core;
}

void InMemoryCommandBarControl::SetStyle(int style) {
    use("CommandBarControl.SetStyle");
    if (style < 0 || style > msoButtonIconAndCaption)
        throw HostError("Invalid button style " + std::to_string(style) +
                        " (0 automatic, 1 icon, 2 caption, 3 icon and caption)");
    style_ = style;
}

void InMemoryCommandBarControl::SetState(int state) {
    use("CommandBarControl.SetState");
    if (type_ != msoControlButton) throw HostError("Only a button has a State");
    if (state != msoButtonUp && state != msoButtonDown)
        throw HostError("Invalid button state " + std::to_string(state) + " (0 up, -1 down)");
    state_ = state;
}

int InMemoryCommandBarControl::Index() const {
    use("CommandBarControl.Index");
    auto parent = parent_.lock();
    return parent ? parent->indexOf(this) : 0;
}

void InMemoryCommandBarControl::PasteFace(const std::string& imagePath) {
    use("CommandBarControl.PasteFace");
    if (type_ != msoControlButton) throw HostError("Only a button can take a face");
    if (imagePath.empty()) throw HostError("PasteFace needs a picture; the clipboard holds none");
    face_ = imagePath;
}

void InMemoryCommandBarControl::Move(int before) {
    use("CommandBarControl.Move");
    auto parent = parent_.lock();
    if (!parent) throw HostError("The control \"" + caption_ + "\" is on no bar");
    parent->move(this, before);
}

void InMemoryCommandBarControl::Delete() {
    use("CommandBarControl.Delete");
    if (auto parent = parent_.lock()) parent->remove(this);
    parent_.reset();
    deleted_ = true;
}

void InMemoryCommandBarControl::Execute() {
    auto core = use("CommandBarControl.Execute");
    if (!visible_)
        throw HostError("The control \"" + caption_ + "\" is hidden and cannot be executed");
    if (!enabled_)
        throw HostError("The control \"" + caption_ + "\" is disabled and cannot be executed");
    // Office raises Click on every control carrying the tag, wherever it sits.
    std::vector<std::shared_ptr<InMemoryCommandBarControl>> targets{shared_from_this()};
    if (!tag_.empty())
        for (const auto& bars : core->liveBars())
            for (const auto& bar : bars->bars())
                bar->controls().collectTagged(tag_, targets);
    std::vector<std::shared_ptr<InMemoryCommandBarControl>> unique;
    for (const auto& t : targets)
        if (std::find(unique.begin(), unique.end(), t) == unique.end()) unique.push_back(t);
    bool cancelDefault = false;
    for (const auto& t : unique)
        core->raise(t->click_, *this, cancelDefault);
    if (!cancelDefault && id_ == kIdSendReceive) core->sendReceive();
}

CommandBarControls& InMemoryCommandBarControl::Controls() {
    use("CommandBarControl.Controls");
    if (!children_)
        throw HostError("The control \"" + caption_ + "\" is a button and has no controls");
    return *children_;
}

ControlPtr InMemoryCommandBarControls::Add(int type, int id, int before, bool temporary) {
    auto core = use("Add");
    if (type != msoControlButton && type != msoControlPopup)
        throw HostError("Controls.Add: type " + std::to_string(type) +
                        " is not supported (1 button, 10 popup)");
    std::string caption = type == msoControlPopup ? "Custom Popup" : "Custom Button";
    int controlId = kCustomId;
    if (id != 0) {
        const BuiltInControl* builtIn = findBuiltIn(id);
        if (!builtIn)
            throw HostError("Controls.Add: " + std::to_string(id) +
                            " is not a built-in control id");
        if (builtIn->type != type)
            throw HostError("Controls.Add: built-in control " + std::to_string(id) +
                            " is not of type " + std::to_string(type));
        caption = builtIn->caption;
        controlId = id;
    }
    const auto size = static_cast<int>(list_.size());
    if (before < 0 || before > size + 1)
        throw HostError("Controls.Add: position " + std::to_string(before) +
                        " is outside a bar of " + std::to_string(size) + " controls");
    auto control = InMemoryCommandBarControl::create(core, type, controlId, caption, temporary);
    control->setParent(self());
    if (before == 0)
        list_.push_back(control);
    else
        list_.insert(list_.begin() + (before - 1), control);
    return control;
}

void InMemoryCommandBarControls::append(const std::shared_ptr<InMemoryCommandBarControl>& control) {
    control->setParent(self());
    list_.push_back(control);
}

int InMemoryCommandBarControls::indexOf(const InMemoryCommandBarControl* control) const {
    for (std::size_t i = 0; i < list_.size(); ++i)
        if (list_[i].get() == control) return static_cast<int>(i) + 1;
    return 0;
}

void InMemoryCommandBarControls::remove(const InMemoryCommandBarControl* control) {
    list_.erase(std::remove_if(list_.begin(), list_.end(),
                               [control](const auto& c) { return c.get() == control; }),
                list_.end());
}

void InMemoryCommandBarControls::move(const InMemoryCommandBarControl* control, int before) {
    const int from = indexOf(control);
    const auto size = static_cast<int>(list_.size());
    if (from == 0) throw HostError("The control is not on this bar");
    if (before < 0 || before > size + 1)
        throw HostError("Move: position " + std::to_string(before) + " is outside a bar of " +
                        std::to_string(size) + " controls");
    auto keep = list_[static_cast<std::size_t>(from - 1)];
    list_.erase(list_.begin() + (from - 1));
    // "Before" names a position on the bar as it was, so a move to the right lands one earlier.
    int at = before == 0 ? size : before - 1;
    if (before != 0 && before > from) --at;
    at = std::clamp(at, 0, static_cast<int>(list_.size()));
    list_.insert(list_.begin() + at, keep);
}

std::shared_ptr<InMemoryCommandBarControl>
InMemoryCommandBarControls::find(int type, int id, const std::string& tag, bool visibleOnly) const {
    for (const auto& c : list_) {
        if (visibleOnly && !c->visible()) continue;
        if ((type == 0 || c->type() == type) && (id == 0 || c->id() == id) &&
            (tag.empty() || c->tag() == tag))
            return c;
        if (auto* children = c->children())
            if (auto found = children->find(type, id, tag, visibleOnly)) return found;
    }
    return nullptr;
}

void InMemoryCommandBarControls::collectTagged(
    const std::string& tag, std::vector<std::shared_ptr<InMemoryCommandBarControl>>& out) const {
    for (const auto& c : list_) {
        if (c->tag() == tag) out.push_back(c);
        if (auto* children = c->children()) children->collectTagged(tag, out);
    }
}

void InMemoryCommandBarControls::removeId(int id) {
    list_.erase(
        std::remove_if(list_.begin(), list_.end(), [id](const auto& c) { return c->id() == id; }),
        list_.end());
    for (const auto& c : list_)
        if (auto* children = c->children()) children->removeId(id);
}

} // namespace velmora::host
