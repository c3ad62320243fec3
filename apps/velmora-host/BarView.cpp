// The scripted host's view of command bars, shared by "describe bar" and "expect bar".
#include "BarView.h"

#include "CommandTable.h"
#include "platform/controls/Control.h"

#include <sstream>

namespace velmora::app {

namespace {

void describeControls(host::CommandBarControls& controls, int depth, std::ostream& out) {
    for (int i = 1; i <= controls.Count(); ++i) {
        host::CommandBarControl& c = *controls.Item(i);
        out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << c.Index()
            << " type=" << c.Type() << " id=" << c.Id() << " tag=" << controls::quoted(c.Tag())
            << " caption=" << controls::quoted(c.Caption())
            << " tooltip=" << controls::quoted(c.TooltipText()) << " visible=" << c.Visible()
            << " enabled=" << c.Enabled() << " state=" << c.State() << " style=" << c.Style()
            << "\n";
        if (c.Type() == host::msoControlPopup) describeControls(c.Controls(), depth + 1, out);
    }
}

} // namespace

host::CommandBars& explorerBars(ScriptContext& ctx) {
    return ctx.activeExplorer()->CommandBars();
}

host::CommandBars* itemWindowBars(ScriptContext& ctx, const std::string& name) {
    const auto found = ctx.items.find(name);
    if (found == ctx.items.end()) return nullptr;
    auto& inspectors = ctx.host.application().Inspectors();
    for (int i = inspectors.Count(); i >= 1; --i)
        if (inspectors.Item(i)->CurrentItem() == found->second)
            return &inspectors.Item(i)->CommandBars();
    return nullptr;
}

std::string describeBar(host::CommandBar& bar) {
    std::ostringstream out;
    describeControls(bar.Controls(), 0, out);
    return out.str();
}

} // namespace velmora::app
