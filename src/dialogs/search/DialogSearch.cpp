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
            .fields = {{"file as field only", "仅显示字段"},
                       {"name field only", "仅名字字段"},
                       {"Company field only", "仅单位字段"},
                       {"address field only", "仅地址字段"},
                       {"e-mail field only", "仅电子邮件字段"},
                       {"phone number field only", "仅电话号码字段"}},
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
            .times = {{"none", "不查找时间"}, {"created", "创建时间"}, {"modified", "修改时间"}},
            .timeProperties = {"", "[creationTime]", "[lastmodificationtime]"},
            .columns = {Bilingual{"Last Name", "姓氏"}, Bilingual{"First Name", "名字"},
                        Bilingual{"File As", "表示为"}, Bilingual{"Email", "邮件地址"},
                        Bilingual{"Creator", "创建者"}},
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
        .fields = {{"subject", "主题"}, {"Location", "地点"}},
        .containsGroups = {{{"Subject"}}, {{"Location"}}},
        .equalsTerms = {{"[subject]"}, {"[location]"}},
        .times = {{"none", "不查找时间"},
                  {"starts", "开始时间"},
                  {"ends", "结束时间"},
                  {"created", "创建时间"},
                  {"modified", "修改时间"}},
        .timeProperties = {"", "[start]", "[end]", "[creationTime]", "[lastmodificationtime]"},
        .calendarTimeFields = 2,
        .columns = {Bilingual{"Subject", "主题"}, Bilingual{"Location", "地点"},
                    Bilingual{"Start Time", "开始时间"}, Bilingual{"End Time", "结束时间"},
                    Bilingual{"Creator", "创建者"}},
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
