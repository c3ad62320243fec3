// The attach-mail dialog: links one mail to contacts and to events, and can make an appointment
// from it in one step. Opened for the selected mail, or for a mail just sent with Attach down.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "dialogs/common/ListPair.h"
#include "dialogs/search/DialogSearch.h"
#include "dialogs/search/DialogSearchPlus.h"
#include "dialogs/share/shareEmailGroups.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/DatePicker.h"
#include "platform/controls/Form.h"
#include "platform/controls/Frame.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/controls/OptionButton.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/TextBox.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {
class AttachEmail;
}

namespace velmora::dialogs {

class AttachSentMailToContact {
  public:
    explicit AttachSentMailToContact(DialogContext& state);
    AttachSentMailToContact(const AttachSentMailToContact&) = delete;
    AttachSentMailToContact& operator=(const AttachSentMailToContact&) = delete;

    controls::Form& form() { return form_; }
    void Show(bool modal = false, controls::Form* owner = nullptr) { form_.Show(modal, owner); }
    // The opener hands over a mail (and its id, a substitute key while it is composed); without
    // it the dialog takes the explorer's first selected mail when it loads.
    void setMailObj(host::ItemPtr mail, std::string mailId);

    DialogSearch& contactSearch();
    DialogSearchPlus& eventSearch();
    shareEmailGroups& shareDialog();

    const std::string& mailId() const { return mailId_; }
    host::ItemPtr createdAppointment() const { return created_; }

  private:
    // One option in both language layouts; the visible one is the one that counts.
    struct Pair {
        controls::Control* chinese;
        controls::Control* english;
    };
    template <typename T> T& visible(Pair pair) const;
    bool ticked(Pair pair) const;
    void setOption(Pair pair, bool enabled);
    void tick(Pair pair, bool on);

    void onLoad();
    void onUnload();
    void setCaptions();
    AttachEmail& mailLinks() const;
    // Shows why nothing can be attached when no mail was loaded at opening.
    bool mailLoaded() const;
    bool isNewMail() const;
    bool hasAttachments() const;

    // Contacts tab.
    void iniAttachEmailToContact(bool stored);
    void addCandidate(std::string name, const std::string& address);
    void setContactButtons(bool enabled);
    void contactsChanged();
    void attachMailToContactClick();
    void showChosenContact();

    // Events tab.
    void iniAttachMailToEvent();
    void setEventButtons(bool enabled);
    void eventsChanged();
    void attachMailToEventClick();
    void showChosenEvent();

    // Quick appointment tab.
    void iniQuickBuildAppointment(const std::string& subject);
    void fillUnits();
    controls::ComboBox& atTime() const;
    void atTimeChanged();
    void setAppClick();
    std::optional<int> countFromText();
    bool buildNewAppointment(int count);
    void onAppointmentCreated();

    DialogContext& state_;
    controls::Form form_;
    controls::TabControl& tab_;
    // Contacts tab.
    controls::ListView& left_;
    controls::ListView& right_;
    controls::CommandButton& contactSearchButton_;
    controls::CommandButton& conProp_;
    controls::Frame& cFrame_;
    controls::Frame& eFrame_;
    Pair attachContacts_, shareEmail_, includeAttachment_, deleteMail_, done_;
    // Events tab.
    controls::ListView& leftPlus_;
    controls::ListView& rightPlus_;
    controls::CommandButton& eventSearchButton_;
    controls::CommandButton& prop2_;
    controls::CommandButton& mailtoEvent_;
    controls::Label& doneTab2_;
    controls::Frame& cEventFrame_;
    controls::Frame& eEventFrame_;
    Pair deleteMailForEvent_, includeAttachmentForEvent_;
    // Quick appointment tab.
    controls::TextBox& regarding_;
    controls::OptionButton& optionIn_;
    controls::OptionButton& optionOn_;
    controls::TextBox& inTime_;
    controls::ComboBox& inDays_;
    controls::DatePicker& onTime_;
    controls::Frame& atFrameC_;
    controls::Frame& atFrameE_;
    controls::ComboBox& atTimeC_;
    controls::ComboBox& atTimeE_;
    controls::Label& label1_;
    controls::Label& label2_;
    controls::CommandButton& setApp_;
    controls::CommandButton& detailC_;
    controls::CommandButton& detailE_;
    controls::CommandButton& share_;
    controls::Label& showAppoint_;
    controls::CommandButton& close_;

    ListPair contacts_;
    ListPair events_;
    std::unique_ptr<DialogSearch> contactSearch_;
    std::unique_ptr<DialogSearchPlus> eventSearch_;
    std::unique_ptr<shareEmailGroups> shareDialog_;

    host::ItemPtr mail_;
    std::string mailId_;
    bool handedOver_ = false;
    host::ItemPtr created_;
    bool eventsChanged_ = false;
    bool quickInitialising_ = false;
    int lastUnit_ = 0;
    int lastTime_ = -1;
    std::string lastCount_;
    std::vector<host::Subscription> subscriptions_;
};

} // namespace velmora::dialogs
