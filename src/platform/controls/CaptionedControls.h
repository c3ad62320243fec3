// The captioned controls: labels and frames, which hold nothing of their own, and the three kinds
// of button the user clicks (push buttons, check boxes, option buttons).
#pragma once

#include "platform/controls/Control.h"

#include <string>

namespace velmora::controls {

// A control with only the common properties; Kind is all that tells a label from a frame.
template <const char* Kind> class PlainControl final : public Control {
  public:
    using Control::Control;
    std::string kind() const override { return Kind; }
};

inline constexpr char kLabelKind[] = "Label";
inline constexpr char kFrameKind[] = "Frame";
// A caption shown on a form: the done labels, list titles and summaries of the dialogs.
using Label = PlainControl<kLabelKind>;
// The dialogs switch between their Chinese and English layouts by showing one frame and hiding
// the other. Membership is by naming only: a frame does not own controls.
using Frame = PlainControl<kFrameKind>;

// A control the user clicks. click() is refused on a disabled or hidden control; otherwise it
// does what press() says, which by default is raising Click.
class ClickableControl : public Control {
  public:
    using Control::Control;
    host::EventSource<> Click;
    void click();

  protected:
    virtual void press() { Click.raise(); }
};

// A push button: caption, enabling, the Default and Cancel roles, and the Click event.
class CommandButton : public ClickableControl {
  public:
    explicit CommandButton(std::string name, int index = -1);
    std::string kind() const override { return "CommandButton"; }

    bool Default() const { return default_; }
    void setDefault(bool value) { default_ = value; }
    bool Cancel() const { return cancel_; }
    void setCancel(bool value) { cancel_ = value; }

  protected:
    void describeState(std::ostream& out) const override;

  private:
    bool default_ = false;
    bool cancel_ = false;
};

inline constexpr int vbUnchecked = 0;
inline constexpr int vbChecked = 1;

// A check box with Value 0 (clear) or 1 (ticked). Click is raised when the value changes, by the
// user (a click toggles the tick) or by code, as the real control does.
class CheckBox : public ClickableControl {
  public:
    explicit CheckBox(std::string name, int index = -1);
    std::string kind() const override { return "CheckBox"; }

    int Value() const { return value_; }
    bool checked() const { return value_ == vbChecked; }
    void setValue(int value);

  protected:
    void press() override;
    void describeState(std::ostream& out) const override;

  private:
    int value_ = vbUnchecked;
};

// An option button: one of a group of which at most one is chosen. Setting one clears the others
// of the same group on the same form; buttons of a form without a group name form one group.
class OptionButton : public ClickableControl {
  public:
    explicit OptionButton(std::string name, int index = -1);
    std::string kind() const override { return "OptionButton"; }

    const std::string& Group() const { return group_; }
    void setGroup(std::string group);

    bool Value() const { return value_; }
    // Choosing raises Click on this button; clearing (directly or through the group) raises none.
    void setValue(bool value);

  protected:
    // The user's click chooses this button and raises Click even when it was chosen already.
    void press() override;
    void describeState(std::ostream& out) const override;

  private:
    void clearGroup();
    std::string group_;
    bool value_ = false;
};

} // namespace velmora::controls
