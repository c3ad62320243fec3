// The profiles of the contact and the event search: the fields and the properties behind them,
// the time fields, the result columns, and where the remembered positions are kept.
#include "dialogs/search/DialogSearch.h"

#include "dialogs/common/ListFillers.h"
#include "links/PublicModules.h"

namespace velmora::dialogs {

namespace {

SearchProfile contactProfile() {
    return {.formName = "DialogSearch",
            .folderType = host::olFolderContacts,
            .itemClass = host::olContact,
            .creatorKind = kindContact,
            .rowIcon = 2,
            .fields = {{.english = "file as field only", .chinese = "仅显示字段"},
                       {.english = "name field only", .chinese = "仅名字字段"},
                       {.english = "Company field only", .chinese = "仅单位字段"},
                       {.english = "address field only", .chinese = "仅地址字段"},
                       {.english = "e-mail field only", .chinese = "仅电子邮件字段"},
                       {.english = "phone number field only", .chinese = "仅电话号码字段"}},
            .containsGroups = {{{"FileAs"}},
                               {{"FirstName"}, {"LastName"}},
                               {{"CompanyName"}},
                               {{"BusinessAddress", "HomeAddress", "OtherAddress"}},
                               {{"Email1Address", "Email2Address", "Email3Address"}},
                               {{"BusinessTelephoneNumber", "Business2TelephoneNumber",
                                 "HomeTelephoneNumber", "Home2TelephoneNumber",
                                 "MobileTelephoneNumber"}}},
            .equalsTerms = {{"[fileas]"},
                            {"[lastname]", " Or [firstname]"},
                            {"[companyname]"},
                            {"[businessAddressCity]", " or [businessAddressCountry]",
                             " Or [businessAddressStreet]", " or [businessAddressPostalCode]",
                             " Or [businessAddressPostOfficeBox]", " Or [businessAddressState]",
                             " or [HomeAddressCity]", " or [HomeAddressCountry]",
                             " Or [HomeAddressStreet]", " or [HomeAddressPostalCode]",
                             " Or [HomeAddressPostOfficeBox]", " Or [HomeAddressState]",
                             " Or [otherAddressCity]", " or [OtherAddressCountry]",
                             " Or [OtherAddressStreet]", " or [OtherAddressPostalCode]",
                             " Or [otherAddressPostOfficeBox]", " Or [OtherAddressState]"},
                            {"[email1Address]", " Or [email2address]", " Or [email3Address]"},
                            {"[BusinesstelephoneNumber]", " Or [Business2telephoneNumber]",
                             " Or [HometelephoneNumber]", " Or [Home2telephoneNumber]",
                             " Or [MobileTelephoneNumber]"}},
            .times = {{.english = "none", .chinese = "不查找时间"},
                      {.english = "created", .chinese = "创建时间"},
                      {.english = "modified", .chinese = "修改时间"}},
            .timeProperties = {"", "[creationTime]", "[lastmodificationtime]"},
            .columns = {text::Bilingual{.english = "Last Name", .chinese = "姓氏"},
                        text::Bilingual{.english = "First Name", .chinese = "名字"},
                        text::Bilingual{.english = "File As", .chinese = "表示为"},
                        text::Bilingual{.english = "Email", .chinese = "邮件地址"},
                        text::Bilingual{.english = "Creator", .chinese = "创建者"}},
            .resultProperties = {"lastname", "firstname", "fileas", "Email1Address"},
            .addToTarget = fillFoundContacts,
            .fieldIndex = &UiIndices::contactSearchField,
            .modeIndex = &UiIndices::contactSearchMode,
            .timeIndex = &UiIndices::contactSearchTime,
            .rangeIndex = &UiIndices::contactSearchTimeRange,
            .anytimeSavedAs = 7,
            .timeTag = "getTimeConformable :",
            .okTag = "OK_Click :",
            .unloadTag = "SearchContactUnload:"};
}

SearchProfile eventProfile() {
    SearchProfile p{
        .formName = "DialogSearchPlus",
        .folderType = host::olFolderCalendar,
        .itemClass = host::olAppointment,
        .creatorKind = kindAppointment,
        .rowIcon = 3,
        .fields = {{.english = "subject", .chinese = "主题"},
                   {.english = "Location", .chinese = "地点"}},
        .containsGroups = {{{"Subject"}}, {{"Location"}}},
        .equalsTerms = {{"[subject]"}, {"[location]"}},
        .times = {{.english = "none", .chinese = "不查找时间"},
                  {.english = "starts", .chinese = "开始时间"},
                  {.english = "ends", .chinese = "结束时间"},
                  {.english = "created", .chinese = "创建时间"},
                  {.english = "modified", .chinese = "修改时间"}},
        .timeProperties = {"", "[start]", "[end]", "[creationTime]", "[lastmodificationtime]"},
        .calendarTimeFields = 2,
        .columns = {text::Bilingual{.english = "Subject", .chinese = "主题"},
                    text::Bilingual{.english = "Location", .chinese = "地点"},
                    text::Bilingual{.english = "Start Time", .chinese = "开始时间"},
                    text::Bilingual{.english = "End Time", .chinese = "结束时间"},
                    text::Bilingual{.english = "Creator", .chinese = "创建者"}},
        .resultProperties = {"Subject", "Location", "Start", "End"},
        .addToTarget = fillFoundAppointments,
        .fieldIndex = &UiIndices::eventSearchField,
        .modeIndex = &UiIndices::eventSearchMode,
        .timeIndex = &UiIndices::eventSearchTime,
        .rangeIndex = &UiIndices::eventSearchTimeRange,
        .anytimeSavedAs = 10,
        .timeTag = "IsTimeConformable :",
        .okTag = "SearchOK>>",
        .unloadTag = "SearchEventUnload:"};
    return p;
}

} // namespace

DialogSearch::DialogSearch(DialogContext& state) : SearchDialogBase(state, contactProfile()) {}

DialogSearchPlus::DialogSearchPlus(DialogContext& state)
    : SearchDialogBase(state, eventProfile()) {}

} // namespace velmora::dialogs
