// A one-line text box with the Change event, raised whenever the text changes, by code or user.
// A Change handler may put text back; the nested Change it causes is raised like any other.
#pragma once

#include "platform/controls/Control.h"

#include <string>

namespace velmora::controls {

class TextBox : public Control {
  public:
    explicit TextBox(std::string name, int index = -1) : Control(std::move(name), index) {
        designed(text_);
    }
    std::string kind() const override { return "TextBox"; }
    bool hasCaption() const override { return false; }

    const std::string& Text() const { return text_; }
    void setText(std::string text);
    // The user's typing: refused on a disabled or hidden box.
    void type(std::string text);

    host::EventSource<> Change;

  protected:
    void describeState(std::ostream& out) const override;

  private:
    std::string text_;
};

} // namespace velmora::controls
