// The base of every control stand-in: name, array index, enabling, visibility, caption, tab order
// and the key-down event. Controls hold state and raise events; nothing is drawn.
#pragma once

#include "platform/host/Events.h"
#include "platform/text/QuotedText.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace velmora::controls {

class Form;

class Control {
  public:
    // index is the position in a control array (such as atFrame(0) and atFrame(1)); -1 for none.
    explicit Control(std::string name, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    int Index() const { return index_; }
    // "Name" or "Name(index)", as the control is written in scripts and dumps.
    std::string displayName() const;
    virtual std::string kind() const = 0;

    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    virtual void setVisible(bool visible) { visible_ = visible; }
    int TabIndex() const { return tabIndex_; }
    void setTabIndex(int tabIndex);

    // Buttons, labels, frames, check boxes, option buttons and forms have a caption; the others
    // refuse it, so a caption table that names the wrong control fails loudly.
    virtual bool hasCaption() const { return true; }
    const std::string& Caption() const;
    void setCaption(std::string caption);

    // The form this control is registered with, or none.
    Form* parent() const { return parent_; }

    // Key pressed while the control has the focus; a handler may set the code to 0 to swallow it.
    host::EventSource<int&, int> KeyDown;

    // The control's state as text: one header line, then any indented detail lines.
    std::string describe() const;

  protected:
    // A form's controls come back as designed every time it loads again, as if made afresh, so
    // that nothing a user chose in one opening reaches the next. keepDesign takes the values of
    // the members named by designed(); restoreDesign puts them back (overrides call the base).
    void keepDesign();
    virtual void restoreDesign();
    // Names, in a constructor, the members a control is designed with.
    template <typename... Members> void designed(Members&... members) {
        designers_.emplace_back([this, &members...] {
            design_.push_back([now = std::tie(members...),
                               then = std::make_tuple(members...)]() mutable { now = then; });
        });
    }
    // Appends " name=value" pairs to the header line.
    virtual void describeState(std::ostream& out) const;
    // Appends detail lines, each starting with "\n  ".
    virtual void describeDetails(std::ostream& out) const;
    // Refuses a user action on a control that cannot take the focus.
    void requireUsable(std::string_view action) const;

  private:
    friend class Form;
    std::string name_;
    int index_;
    bool enabled_ = true;
    bool visible_ = true;
    int tabIndex_ = 0;
    std::string caption_;
    Form* parent_ = nullptr;
    std::vector<std::function<void()>> designers_;
    std::vector<std::function<void()>> design_;
};

// Dumps write texts between double quotes with escapes, as the registry file does.
using text::quoted;

} // namespace velmora::controls
