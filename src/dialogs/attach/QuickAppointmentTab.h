// The attach-mail dialog's quick appointment tab: makes an appointment from the mail's subject,
// in N days, weeks or months or on a chosen date, attaches the mail to it and offers to share it.
#pragma once

#include "dialogs/attach/AttachedMail.h"
#include "dialogs/attach/MailEventsTab.h"
#include "dialogs/common/DialogContext.h"
#include "dialogs/share/ShareGroupDialog.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/EntryControls.h"
#include "platform/controls/Form.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace velmora::dialogs {

class QuickAppointmentTab {
  public:
    // The controls are the form's, found by name; a made appointment is listed on events.
    QuickAppointmentTab(DialogContext& state, controls::Form& form, AttachedMail& mail,
                        MailEventsTab& events);
    QuickAppointmentTab(const QuickAppointmentTab&) = delete;
    QuickAppointmentTab& operator=(const QuickAppointmentTab&) = delete;

    shareEmailGroups& shareDialog();
    void showLayout(bool chinese);
    // Forgets the appointment and the choices of a previous opening.
    void reset();
    void iniQuickBuildAppointment(const std::string& subject);
    host::ItemPtr created() const { return created_; }
    void release() { created_.reset(); }

    // The form's handler table wires these; index is that of the control array.
    void OptionIn_Click();
    void OptionOn_Click();
    void inTime_Change();
    void inDays_Click();
    void inDays_Change();
    void atTime_Click(int index);
    void atTime_Change();
    void cmdSetApp_Click();
    void cmdDetail_Click();
    void cmdShare_Click();

  private:
    controls::ComboBox& atTime() const;
    void fillUnits();
    std::optional<int> countFromText();
    // Whether the user still wants the appointment: a subject, and no clash or a yes.
    bool subjectAccepted();
    bool buildNewAppointment(int count);
    std::string summary(std::chrono::sys_days day, const std::string& time) const;
    void onAppointmentCreated();

    DialogContext& state_;
    controls::Form& form_;
    AttachedMail& mail_;
    MailEventsTab& events_;
    controls::TextBox& regarding_;
    controls::OptionButton& optionIn_;
    controls::TextBox& inTime_;
    controls::ComboBox& inDays_;
    controls::DatePicker& onTime_;
    controls::ComboBox& atTimeC_;
    controls::ComboBox& atTimeE_;
    controls::CommandButton& setApp_;
    controls::CommandButton& detailC_;
    controls::CommandButton& detailE_;
    controls::CommandButton& share_;
    controls::Label& showAppoint_;
    std::unique_ptr<shareEmailGroups> shareDialog_;

    host::ItemPtr created_;
    bool initialising_ = false;
    int lastUnit_ = 0;
    int lastTime_ = -1;
    std::string lastCount_;
};

} // namespace velmora::dialogs
