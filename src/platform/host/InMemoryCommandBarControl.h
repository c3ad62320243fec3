// One control of an in-memory command bar: a button or a popup holding further controls.
// Execute raises Click on this control and on every live control in the host with the same tag.
#pragma once

#include "platform/host/ObjectModel.h"

#include <memory>
#include <string>

namespace velmora::host {

class HostCore;
class InMemoryCommandBarControls;

class InMemoryCommandBarControl : public CommandBarControl,
                                  public std::enable_shared_from_this<InMemoryCommandBarControl> {
  public:
    static std::shared_ptr<InMemoryCommandBarControl>
    create(std::weak_ptr<HostCore> core, int type, int id, std::string caption, bool temporary);
    InMemoryCommandBarControl(std::weak_ptr<HostCore> core, int type, int id, std::string caption,
                              bool temporary)
        : core_(std::move(core)), type_(type), id_(id), caption_(std::move(caption)),
          temporary_(temporary) {}

    int Id() const override;
    int Type() const override;
    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    std::string Tag() const override;
    void SetTag(const std::string& tag) override;
    int Style() const override;
    void SetStyle(int style) override;
    bool BeginGroup() const override;
    void SetBeginGroup(bool begin) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;
    std::string TooltipText() const override;
    void SetTooltipText(const std::string& text) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    int State() const override;
    void SetState(int state) override;
    int Index() const override;
    std::string Face() const override;
    void PasteFace(const std::string& imagePath) override;
    void Move(int before) override;
    void Delete() override;
    void Execute() override;
    CommandBarControls& Controls() override;
    EventSource<CommandBarControl&, bool&>& Click() override { return click_; }

    // Host side, without fault checks.
    int id() const { return id_; }
    int type() const { return type_; }
    const std::string& tag() const { return tag_; }
    bool visible() const { return visible_; }
    bool temporary() const { return temporary_; }
    InMemoryCommandBarControls* children() const { return children_.get(); }
    void setParent(std::weak_ptr<InMemoryCommandBarControls> parent) {
        parent_ = std::move(parent);
    }
    void setVisibleQuietly(bool visible) { visible_ = visible; }

  private:
    std::shared_ptr<HostCore> use(const char* member) const;

    std::weak_ptr<HostCore> core_;
    int type_;
    int id_;
    std::string caption_;
    bool temporary_;
    std::string tag_;
    int style_ = 0; // msoButtonAutomatic
    bool beginGroup_ = false;
    bool visible_ = true;
    std::string tooltip_;
    bool enabled_ = true;
    int state_ = msoButtonUp;
    std::string face_;
    bool deleted_ = false;
    std::weak_ptr<InMemoryCommandBarControls> parent_;
    std::shared_ptr<InMemoryCommandBarControls> children_;
    EventSource<CommandBarControl&, bool&> click_;
};

} // namespace velmora::host
