// What the attach-mail dialog's contacts and events tabs share: a left and a right list with the
// move buttons between them, a frame for each language layout, over the attached mail.
#pragma once

#include "dialogs/attach/AttachedMail.h"
#include "dialogs/common/DialogContext.h"
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/ListPair.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/Form.h"
#include "platform/controls/ListView.h"

namespace velmora::dialogs {

// Not copyable: it holds the form's controls and the wired list pair.
class MailPickerTab {
  protected:
    // The names of a tab's controls in the form's design; moveButtons is the move buttons'
    // prefix, the buttons being added here.
    struct Design {
        const char* left;
        const char* right;
        const char* chineseFrame;
        const char* englishFrame;
        const char* moveButtons;
        int icon;
        ListLayout layout;
    };

    // afterMove runs after every move button.
    MailPickerTab(DialogContext& state, controls::Form& form, AttachedMail& mail,
                  const Design& design, ListPair::AfterMove afterMove);
    ~MailPickerTab() = default;

    // Shows the frame of the language and lays both lists out for it.
    void showPicker(bool chinese);

    DialogContext& state_;
    controls::Form& form_;
    AttachedMail& mail_;
    controls::ListView& left_;
    controls::ListView& right_;

  private:
    controls::Frame& chineseFrame_;
    controls::Frame& englishFrame_;
    ListLayout layout_;
    ListPair lists_;
};

} // namespace velmora::dialogs
