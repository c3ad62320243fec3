// The two searches: contacts of the default Contacts folder by words, field, match mode and time
// range, and appointments of the default Calendar by words in the subject or location.
#pragma once

#include "dialogs/search/SearchDialogBase.h"

namespace velmora::dialogs {

// Finds contacts and adds the ticked ones to the calling dialog's search target.
class DialogSearch : public SearchDialogBase {
  public:
    explicit DialogSearch(DialogContext& state);
};

// Finds appointments and adds the ticked ones to the calling dialog's search target.
class DialogSearchPlus : public SearchDialogBase {
  public:
    explicit DialogSearchPlus(DialogContext& state);
};

} // namespace velmora::dialogs
