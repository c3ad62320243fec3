// One control of an in-memory command bar.
#include "platform/host/InMemoryCommandBarControl.h"

#include "platform/host/BuiltInBars.h"
#include "platform/host/HostCore.h"
#include "platform/host/InMemoryCommandBar.h"
#include "platform/host/InMemoryCommandBarControls.h"
#include "platform/host/InMemoryCommandBars.h"

#include <algorithm>

namespace velmora::host {

std::shared_ptr<InMemoryCommandBarControl>
InMemoryCommandBarControl::create(std::weak_ptr<HostCore> core, int type, int id,
                                  std::string caption, bool temporary) {
    auto control =
        std::make_shared<InMemoryCommandBarControl>(core, type, id, std::move(caption), temporary);
    if (type == msoControlPopup)
        control->children_ = std::make_shared<InMemoryCommandBarControls>(core);
    return control;
}

std::shared_ptr<HostCore> InMemoryCommandBarControl::use(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
    if (deleted_)
        throw HostError(std::string("The control \"") + caption_ + "\" has been deleted (" +
                        member + ")");
    return core;
}

int InMemoryCommandBarControl::Id() const {
    use("CommandBarControl.Id");
    return id_;
}

int InMemoryCommandBarControl::Type() const {
    use("CommandBarControl.Type");
    return type_;
}

std::string InMemoryCommandBarControl::Caption() const {
    use("CommandBarControl.Caption");
    return caption_;
}

void InMemoryCommandBarControl::SetCaption(const std::string& caption) {
    use("CommandBarControl.SetCaption");
    caption_ = caption;
}

std::string InMemoryCommandBarControl::Tag() const {
    use("CommandBarControl.Tag");
    return tag_;
}

void InMemoryCommandBarControl::SetTag(const std::string& tag) {
    use("CommandBarControl.SetTag");
    tag_ = tag;
}

int InMemoryCommandBarControl::Style() const {
    use("CommandBarControl.Style");
    return style_;
}

void InMemoryCommandBarControl::SetStyle(int style) {
    use("CommandBarControl.SetStyle");
    if (style < 0 || style > msoButtonIconAndCaption)
        throw HostError("Invalid button style " + std::to_string(style) +
                        " (0 automatic, 1 icon, 2 caption, 3 icon and caption)");
    style_ = style;
}

bool InMemoryCommandBarControl::BeginGroup() const {
    use("CommandBarControl.BeginGroup");
    return beginGroup_;
}

void InMemoryCommandBarControl::SetBeginGroup(bool begin) {
    use("CommandBarControl.SetBeginGroup");
    beginGroup_ = begin;
}

bool InMemoryCommandBarControl::Visible() const {
    use("CommandBarControl.Visible");
    return visible_;
}

void InMemoryCommandBarControl::SetVisible(bool visible) {
    use("CommandBarControl.SetVisible");
    visible_ = visible;
}

std::string InMemoryCommandBarControl::TooltipText() const {
    use("CommandBarControl.TooltipText");
    return tooltip_;
}

void InMemoryCommandBarControl::SetTooltipText(const std::string& text) {
    use("CommandBarControl.SetTooltipText");
    tooltip_ = text;
}

bool InMemoryCommandBarControl::Enabled() const {
    use("CommandBarControl.Enabled");
    return enabled_;
}

void InMemoryCommandBarControl::SetEnabled(bool enabled) {
    use("CommandBarControl.SetEnabled");
    enabled_ = enabled;
}

int InMemoryCommandBarControl::State() const {
    use("CommandBarControl.State");
    return state_;
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

std::string InMemoryCommandBarControl::Face() const {
    use("CommandBarControl.Face");
    return face_;
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
        t->click_.raise(*this, cancelDefault);
    if (!cancelDefault && id_ == kIdSendReceive) core->sendReceive();
}

CommandBarControls& InMemoryCommandBarControl::Controls() {
    use("CommandBarControl.Controls");
    if (!children_)
        throw HostError("The control \"" + caption_ + "\" is a button and has no controls");
    return *children_;
}

} // namespace velmora::host
