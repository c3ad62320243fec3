// A message box on a text console: prints "[title] text" with its buttons and, when there is a
// choice, reads the answer line; end of input picks the cautious button (No, Cancel).
#pragma once

#include "platform/windows/MessageBox.h"

#include <istream>
#include <ostream>

namespace velmora::windows {

class ConsoleMessageBox : public MessageBox {
  public:
    ConsoleMessageBox(std::ostream& out, std::istream& in) : out_(out), in_(in) {}
    // Answers are a button's name or its first letter in any case ("y", "No", "c"); any other
    // line is asked again.
    int show(const std::string& text, const std::string& title, int style) override;

  private:
    std::ostream& out_;
    std::istream& in_;
};

} // namespace velmora::windows
