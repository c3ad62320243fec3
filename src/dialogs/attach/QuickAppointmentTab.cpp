// The quick appointment tab's sequences: preparing it, the count, unit and time lists that take
// only their own entries, making the appointment with its summary, and opening or sharing it.
#include "dialogs/attach/QuickAppointmentTab.h"

#include "dialogs/common/ListFillers.h"
#include "links/AttachEmail.h"
#include "links/ItemLookup.h"
#include "platform/text/Utf8Text.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

#include <algorithm>
#include <charconv>

namespace velmora::dialogs {

namespace {

// The user's short date: year, month and day without leading zeros, as the system writes it.
std::string shortDate(std::chrono::sys_days day) {
    const std::chrono::year_month_day ymd{day};
    return std::to_string(static_cast<int>(ymd.year())) + "-" +
           std::to_string(static_cast<unsigned>(ymd.month())) + "-" +
           std::to_string(static_cast<unsigned>(ymd.day()));
}

// Calendar arithmetic of the unit list: days, weeks, or months with the day kept inside the
// target month (31 January plus one month is the last day of February).
std::chrono::sys_days addUnits(std::chrono::sys_days day, int unit, int count) {
    using namespace std::chrono;
    if (unit == 0) return day + days(count);
    if (unit == 1) return day + weeks(count);
    year_month_day ymd{day};
    const year_month target = year_month(ymd.year(), ymd.month()) + months(count);
    const auto last = year_month_day_last(target.year(), month_day_last(target.month())).day();
    return sys_days(target / (ymd.day() > last ? last : ymd.day()));
}

constexpr text::Bilingual unitTexts[] = {{.english = "day", .chinese = "天"},
                                         {.english = "week", .chinese = "周"},
                                         {.english = "Month", .chinese = "月"}};

} // namespace

QuickAppointmentTab::QuickAppointmentTab(DialogContext& state, controls::Form& form,
                                         AttachedMail& mail, MailEventsTab& events)
    : state_(state), form_(form), mail_(mail), events_(events),
      regarding_(form.get<controls::TextBox>("regarding")),
      optionIn_(form.get<controls::OptionButton>("OptionIn")),
      inTime_(form.get<controls::TextBox>("inTime")),
      inDays_(form.get<controls::ComboBox>("inDays")),
      onTime_(form.get<controls::DatePicker>("onTime")),
      atTimeC_(form.get<controls::ComboBox>("atTime", 0)),
      atTimeE_(form.get<controls::ComboBox>("atTime", 1)),
      setApp_(form.get<controls::CommandButton>("cmdSetApp")),
      detailC_(form.get<controls::CommandButton>("cmdDetail", 0)),
      detailE_(form.get<controls::CommandButton>("cmdDetail", 1)),
      share_(form.get<controls::CommandButton>("cmdShare")),
      showAppoint_(form.get<controls::Label>("showAppoint")) {
    optionIn_.setValue(true);
    inTime_.setText("0");
    lastCount_ = "0";
}

shareEmailGroups& QuickAppointmentTab::shareDialog() {
    if (!shareDialog_) shareDialog_ = std::make_unique<shareEmailGroups>(state_);
    return *shareDialog_;
}

void QuickAppointmentTab::showLayout(bool chinese) {
    for (int i : {0, 1}) {
        const bool shown = (i == 0) == chinese;
        form_.get<controls::Frame>("atFrame", i).setVisible(shown);
        form_.get<controls::ComboBox>("atTime", i).setVisible(shown);
        form_.get<controls::Label>("Label3", i).setVisible(shown);
        form_.get<controls::CommandButton>("cmdDetail", i).setVisible(shown);
    }
}

void QuickAppointmentTab::reset() {
    created_.reset();
    initialising_ = false;
    lastUnit_ = 0;
    lastTime_ = -1;
    lastCount_ = inTime_.Text();
}

controls::ComboBox& QuickAppointmentTab::atTime() const {
    return state_.isChinese ? atTimeC_ : atTimeE_;
}

void QuickAppointmentTab::fillUnits() {
    inDays_.Clear();
    for (const text::Bilingual& unit : unitTexts)
        inDays_.AddItem(say(state_, unit));
}

void QuickAppointmentTab::iniQuickBuildAppointment(const std::string& subject) {
    errorTrap(state_, "as12>>", [&] {
        initialising_ = true;
        regarding_.setText(subject);
        fillUnits();
        onTime_.setEnabled(false);
        share_.setEnabled(false);
        inTime_.setEnabled(true);
        inDays_.setEnabled(true);
        optionIn_.setValue(true);
        setApp_.setEnabled(true);
        detailC_.setEnabled(false);
        detailE_.setEnabled(false);
        atTime().Clear();
        lastTime_ = -1;
        fillTimeCombo(state_, atTime());
        lastUnit_ = 0;
        inDays_.setListIndex(0);
        showAppoint_.setVisible(false);
        onTime_.setValue(std::chrono::floor<std::chrono::days>(state_.now()));
    });
}

// ---- The choices ----

void QuickAppointmentTab::OptionIn_Click() {
    onTime_.setEnabled(false);
    inTime_.setEnabled(true);
    inDays_.setEnabled(true);
}

void QuickAppointmentTab::OptionOn_Click() {
    onTime_.setEnabled(true);
    inTime_.setEnabled(false);
    inDays_.setEnabled(false);
}

// The count takes at most five characters; a longer text is put back.
void QuickAppointmentTab::inTime_Change() {
    if (text::characterCount(inTime_.Text()) > 5)
        inTime_.setText(lastCount_);
    else
        lastCount_ = inTime_.Text();
}

void QuickAppointmentTab::inDays_Click() {
    lastUnit_ = inDays_.ListIndex();
}

void QuickAppointmentTab::inDays_Change() {
    if (lastUnit_ >= 0 && lastUnit_ < inDays_.ListCount() &&
        inDays_.Text() != inDays_.List(lastUnit_))
        inDays_.setText(inDays_.List(lastUnit_));
}

void QuickAppointmentTab::atTime_Click(int index) {
    lastTime_ = (index == 0 ? atTimeC_ : atTimeE_).ListIndex();
}

// The time list takes only its own entries: while the tab is prepared the preselected text is
// matched to its entry; afterwards a typed text is replaced by the last chosen entry.
void QuickAppointmentTab::atTime_Change() {
    controls::ComboBox& combo = atTime();
    if (initialising_) {
        for (int i = 0; i < combo.ListCount(); ++i)
            if (combo.List(i) == combo.Text()) {
                lastTime_ = i;
                initialising_ = false;
                combo.setListIndex(i);
                return;
            }
        return;
    }
    if (lastTime_ >= 0 && lastTime_ < combo.ListCount() && combo.Text() != combo.List(lastTime_))
        combo.setText(combo.List(lastTime_));
}

// ---- Making the appointment ----

std::optional<int> QuickAppointmentTab::countFromText() {
    const std::string text = trimmed(inTime_.Text());
    const std::string unit = inDays_.Text();
    int count = 0;
    const char* end = text.data() + text.size();
    const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
    const auto [last, error] = std::from_chars(begin, end, count);
    std::string problem;
    if (text.empty() || error != std::errc{} || last != end)
        problem = "请输入正确的" + unit + "数值！";
    else if (count > 100)
        problem = "输入的" + trimmed(unit) + "值不能大于100！";
    else if (count < 0)
        problem = "输入的" + trimmed(unit) + "值不能小于0！";
    if (problem.empty()) return count;
    showExclamation(state_,
                    say(state_, {.english = "Please input a correct number.", .chinese = problem}));
    return std::nullopt;
}

bool QuickAppointmentTab::subjectAccepted() {
    if (trimmed(regarding_.Text()).empty()) {
        showExclamation(state_, say(state_, {.english = "The regarding is can't space.",
                                             .chinese = "事件的主题不能为空。"}));
        return false;
    }
    bool exists = false;
    if (!errorTrap(state_, "as13>",
                   [&] { exists = appointmentSubjectExists(state_, regarding_.Text()); }))
        return false;
    return !exists ||
           askYesNo(state_,
                    say(state_, {.english = "It is found a  event of same subject , do you want "
                                            "to continue?",
                                 .chinese = "已存在相同主题的事件，继续创建吗？"}),
                    windows::vbInformation);
}

void QuickAppointmentTab::cmdSetApp_Click() {
    if (!mail_.loaded()) return;
    int count = 0;
    if (optionIn_.Value()) {
        const auto checked = countFromText();
        if (!checked) return;
        count = *checked;
    }
    if (!subjectAccepted()) return;
    if (created_) return;
    if (!buildNewAppointment(count)) return;
    errorTrap(state_, "as13>", [&] { onAppointmentCreated(); });
}

std::string QuickAppointmentTab::summary(std::chrono::sys_days day, const std::string& time) const {
    if (!optionIn_.Value()) {
        const std::string english = "Appointment on " + shortDate(day) + " at " + time;
        const std::string chinese = "约会发生在 " + shortDate(day) + " 时间为" + time;
        return say(state_, {.english = english, .chinese = chinese});
    }
    const std::string countText = trimmed(inTime_.Text());
    const std::string english = "Appointment in " + countText + " " + inDays_.Text() + " at " +
                                time + " (" + shortDate(day) + ")";
    const std::string chinese = "约会发生在 " + countText + " " + inDays_.Text() +
                                " 之后，时间为 " + time + " (" + shortDate(day) + ")";
    return say(state_, {.english = english, .chinese = chinese});
}

bool QuickAppointmentTab::buildNewAppointment(int count) {
    return errorTrap(state_, "as13>", [&] {
        const auto folder = getDefaultFolder(state_, kindAppointment);
        if (!folder) throw host::HostError("The Calendar folder is not available");
        auto appointment = folder->Items()->Add(host::olAppointmentItem);
        if (appointment->Flag("IsRecurring")) appointment->ClearRecurrencePattern();
        appointment->Set("Subject", regarding_.Text());
        const std::string time = atTime().Text();
        const auto minutes = timeEntryMinutes(time);
        if (!minutes) throw host::HostError("Type mismatch: \"" + time + "\" is not a time");
        const std::chrono::sys_days day =
            optionIn_.Value() ? addUnits(std::chrono::floor<std::chrono::days>(state_.now()),
                                         std::max(inDays_.ListIndex(), 0), count)
                              : onTime_.day();
        const host::DateTime start = day + std::chrono::minutes(*minutes);
        appointment->Set("Start", start);
        // The host's usual length of a new appointment.
        appointment->Set("End", start + std::chrono::minutes(30));
        showAppoint_.setCaption(summary(day, time));
        state_.skipNextItemEvent = true;
        appointment->Save();
        created_ = appointment;
    });
}

void QuickAppointmentTab::onAppointmentCreated() {
    const std::string entryId = created_->EntryID();
    const bool written = mail_.links().emailToEvent(*mail_.item, entryId, mail_.id, true);
    if (written && mail_.hasAttachments()) mail_.links().saveMailAttachments(*mail_.item, mail_.id);
    showAppoint_.setVisible(true);
    (state_.isChinese ? detailC_ : detailE_).setEnabled(true);
    share_.setEnabled(true);
    setApp_.setEnabled(false);
    events_.addCreatedAppointment(*created_);
}

// ---- Opening and sharing the appointment ----

void QuickAppointmentTab::cmdDetail_Click() {
    if (created_) ignoreErrors([&] { created_->Display(); });
}

void QuickAppointmentTab::cmdShare_Click() {
    errorTrap(state_, "as1>>", [&] {
        if (!created_) return;
        shareDialog().setAppointmentObj(created_->EntryID(), mail_.id);
        shareDialog().Show(true, &form_);
    });
}

} // namespace velmora::dialogs
