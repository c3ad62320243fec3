// A tab control: a number of tabs, the current tab, per-tab captions and enabling.
// Changing the current tab raises Click with the previous tab; a disabled tab cannot be chosen.
#pragma once

#include "platform/controls/Control.h"

#include <string>
#include <vector>

namespace velmora::controls {

class TabControl : public Control {
  public:
    explicit TabControl(std::string name, int index = -1, int tabs = 1);
    std::string kind() const override { return "TabControl"; }
    // Captions belong to the tabs (TabCaption), not to the control.
    bool hasCaption() const override { return false; }

    int Tabs() const { return static_cast<int>(tabs_.size()); }
    // Growing adds enabled tabs with empty captions; shrinking moves a lost current tab to 0.
    void setTabs(int count);

    int Tab() const { return tab_; }
    // Refuses a tab out of range or disabled; raises Click(previous) when the tab changes.
    void setTab(int tab);
    // The user's click on a tab header: a disabled tab does not react, as on screen.
    void clickTab(int tab);

    bool TabEnabled(int tab) const;
    void setTabEnabled(int tab, bool enabled);
    const std::string& TabCaption(int tab) const;
    void setTabCaption(int tab, std::string caption);

    host::EventSource<int> Click;

  protected:
    void describeState(std::ostream& out) const override;
    void describeDetails(std::ostream& out) const override;

  private:
    struct TabInfo {
        std::string caption;
        bool enabled = true;
    };
    void checkTab(int tab) const;
    std::vector<TabInfo> tabs_;
    int tab_ = 0;
};

} // namespace velmora::controls
