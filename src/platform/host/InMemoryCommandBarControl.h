// The controls of an in-memory command bar: a button or a popup holding further controls, and
// the ordered list a bar or popup keeps. Execute raises Click on every live control with the tag.
#pragma once

#include "platform/host/InMemoryCollection.h"
#include "platform/host/ObjectModel.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::host {

class InMemoryCommandBarControls;

class InMemoryCommandBarControl : public CommandBarControl,
                                  public std::enable_shared_from_this<InMemoryCommandBarControl> {
  public:
    static std::shared_ptr<InMemoryCommandBarControl> create(const std::weak_ptr<HostCore>& core,
                                                             int type, int id, std::string caption,
                                                             bool temporary);
    InMemoryCommandBarControl(std::weak_ptr<HostCore> core, int type, int id, std::string caption,
                              bool temporary)
        : host_(std::move(core)), type_(type), id_(id), caption_(std::move(caption)),
          temporary_(temporary) {}

    int Id() const override { return read("CommandBarControl.Id", id_); }
    int Type() const override { return read("CommandBarControl.Type", type_); }
    std::string Caption() const override { return read("CommandBarControl.Caption", caption_); }
    void SetCaption(const std::string& caption) override {
        write("CommandBarControl.SetCaption", caption_, caption);
    }
    std::string Tag() const override { return read("CommandBarControl.Tag", tag_); }
    void SetTag(const std::string& tag) override { write("CommandBarControl.SetTag", tag_, tag); }
    int Style() const override { return read("CommandBarControl.Style", style_); }
    void SetStyle(int style) override;
    bool BeginGroup() const override { return read("CommandBarControl.BeginGroup", beginGroup_); }
    void SetBeginGroup(bool begin) override {
        write("CommandBarControl.SetBeginGroup", beginGroup_, begin);
    }
    bool Visible() const override { return read("CommandBarControl.Visible", visible_); }
    void SetVisible(bool visible) override {
        write("CommandBarControl.SetVisible", visible_, visible);
    }
    std::string TooltipText() const override {
        return read("CommandBarControl.TooltipText", tooltip_);
    }
    void SetTooltipText(const std::string& text) override {
        write("CommandBarControl.SetTooltipText", tooltip_, text);
    }
    bool Enabled() const override { return read("CommandBarControl.Enabled", enabled_); }
    void SetEnabled(bool enabled) override {
        write("CommandBarControl.SetEnabled", enabled_, enabled);
    }
    int State() const override { return read("CommandBarControl.State", state_); }
    void SetState(int state) override;
    int Index() const override;
    std::string Face() const override { return read("CommandBarControl.Face", face_); }
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
    // The host's checks, then the refusal of a deleted control.
    std::shared_ptr<HostCore> use(const char* member) const;
    template <typename T> T read(const char* member, const T& field) const {
        use(member);
        return field;
    }
    template <typename T> void write(const char* member, T& field, const T& value) {
        use(member);
        field = value;
    }

    HostRef host_;
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

// The controls of a command bar or popup, in their order on the bar, with the recursive search
// FindControl and the tag-wide lookup Execute uses.
class InMemoryCommandBarControls
    : public InMemoryCollection<CommandBarControls, std::shared_ptr<InMemoryCommandBarControl>> {
  public:
    explicit InMemoryCommandBarControls(const std::weak_ptr<HostCore>& core)
        : InMemoryCollection(core, "CommandBarControls", "control") {}

    ControlPtr Add(int type, int id = 0, int before = 0, bool temporary = false) override;

    // Host side, without fault checks.
    void append(const std::shared_ptr<InMemoryCommandBarControl>& control);
    int indexOf(const InMemoryCommandBarControl* control) const; // 1-based, 0 when absent
    void remove(const InMemoryCommandBarControl* control);
    void move(const InMemoryCommandBarControl* control, int before);
    std::shared_ptr<InMemoryCommandBarControl> find(int type, int id, const std::string& tag,
                                                    bool visibleOnly) const;
    void collectTagged(const std::string& tag,
                       std::vector<std::shared_ptr<InMemoryCommandBarControl>>& out) const;
    void removeId(int id); // every control with this id, at any depth

  private:
    // Where the controls added here find their bar; a bar's controls are always shared-owned.
    std::weak_ptr<InMemoryCommandBarControls> self() {
        return std::static_pointer_cast<InMemoryCommandBarControls>(shared_from_this());
    }
};

} // namespace velmora::host
