// The event search dialog: finds appointments of the default Calendar by words in the subject or
// location and by time range, and adds the ticked ones to the calling dialog's search target.
#pragma once

#include "dialogs/search/SearchDialogBase.h"

namespace velmora::dialogs {

class DialogSearchPlus : public SearchDialogBase {
  public:
    explicit DialogSearchPlus(DialogContext& state);

  private:
    const std::vector<search::RangeChoice>& rangesFor(int timeField) const override;
    std::string timeProperty(int timeField) const override;
    bool containsWords(const host::Item& item, int field, const std::string& words) const override;
    std::vector<std::string_view> equalsTerms(int field) const override;
    std::array<std::string, 4> resultTexts(const host::Item& item) const override;
    void addToTarget(controls::ListView& target, const std::vector<std::string>& keys,
                     const std::vector<std::string>& creators) override;
};

} // namespace velmora::dialogs
