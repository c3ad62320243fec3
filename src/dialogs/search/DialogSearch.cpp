// The contact search dialog: finds contacts of the default Contacts folder by words, field,
// match mode and time range, and adds the ticked ones to the calling dialog's search target.
#include "dialogs/search/DialogSearch.h"

#include "dialogs/common/ListFillers.h"
#include "links/PublicModules.h"

#include <stdexcept>

namespace velmora::dialogs {

namespace {

SearchProfile contactProfile() {
    SearchProfile p;
    p.formName = "DialogSearch";
    p.folderType = host::olFolderContacts;
    p.creatorKind = kindContact;
    p.rowIcon = 2;
    p.fields = {
        {"file as field only", "仅显示字段"},    {"name field only", "仅名字字段"},
        {"Company field only", "仅单位字段"},    {"address field only", "仅地址字段"},
        {"e-mail field only", "仅电子邮件字段"}, {"phone number field only", "仅电话号码字段"}};
    p.times = {{"none", "不查找时间"}, {"created", "创建时间"}, {"modified", "修改时间"}};
    p.columns = {Bilingual{"Last Name", "姓氏"}, Bilingual{"First Name", "名字"},
                 Bilingual{"File As", "表示为"}, Bilingual{"Email", "邮件地址"},
                 Bilingual{"Creator", "创建者"}};
    p.fieldIndex = &UiIndices::contactSearchField;
    p.modeIndex = &UiIndices::contactSearchMode;
    p.timeIndex = &UiIndices::contactSearchTime;
    p.rangeIndex = &UiIndices::contactSearchTimeRange;
    p.anytimeSavedAs = 7;
    p.timeTag = "getTimeConformable :";
    p.okTag = "OK_Click :";
    p.unloadTag = "SearchContactUnload:";
    return p;
}

const std::vector<std::string_view> addressProperties{"BusinessAddress", "HomeAddress",
                                                      "OtherAddress"};
const std::vector<std::string_view> mailProperties{"Email1Address", "Email2Address",
                                                   "Email3Address"};
const std::vector<std::string_view> phoneProperties{
    "BusinessTelephoneNumber", "Business2TelephoneNumber", "HomeTelephoneNumber",
    "Home2TelephoneNumber", "MobileTelephoneNumber"};

} // namespace

DialogSearch::DialogSearch(DialogContext& state) : SearchDialogBase(state, contactProfile()) {}

const std::vector<search::RangeChoice>& DialogSearch::rangesFor(int) const {
    return search::pastRangeChoices();
}

std::string DialogSearch::timeProperty(int timeField) const {
    return timeField == 1 ? "[creationTime]" : "[lastmodificationtime]";
}

bool DialogSearch::containsWords(const host::Item& item, int field,
                                 const std::string& words) const {
    if (item.Class() != host::olContact) return false;
    switch (field) {
    case 0:
        return search::fieldContains(item.Text("FileAs"), words);
    case 1:
        return search::fieldContains(item.Text("FirstName"), words) ||
               search::fieldContains(item.Text("LastName"), words);
    case 2:
        return search::fieldContains(item.Text("CompanyName"), words);
    case 3:
        return search::fieldContains(search::joinedProperties(item, addressProperties), words);
    case 4:
        return search::fieldContains(search::joinedProperties(item, mailProperties), words);
    case 5:
        return search::fieldContains(search::joinedProperties(item, phoneProperties), words);
    default:
        return false;
    }
}

std::vector<std::string_view> DialogSearch::equalsTerms(int field) const {
    switch (field) {
    case 0:
        return {"[fileas]"};
    case 1:
        return {"[lastname]", " Or [firstname]"};
    case 2:
        return {"[companyname]"};
    case 3:
        return {"[businessAddressCity]",
                " or [businessAddressCountry]",
                " Or [businessAddressStreet]",
                " or [businessAddressPostalCode]",
                " Or [businessAddressPostOfficeBox]",
                " Or [businessAddressState]",
                " or [HomeAddressCity]",
                " or [HomeAddressCountry]",
                " Or [HomeAddressStreet]",
                " or [HomeAddressPostalCode]",
                " Or [HomeAddressPostOfficeBox]",
                " Or [HomeAddressState]",
                " Or [otherAddressCity]",
                " or [OtherAddressCountry]",
                " Or [OtherAddressStreet]",
                " or [OtherAddressPostalCode]",
                " Or [otherAddressPostOfficeBox]",
                " Or [OtherAddressState]"};
    case 4:
        return {"[email1Address]", " Or [email2address]", " Or [email3Address]"};
    case 5:
        return {"[BusinesstelephoneNumber]", " Or [Business2telephoneNumber]",
                " Or [HometelephoneNumber]", " Or [Home2telephoneNumber]",
                " Or [MobileTelephoneNumber]"};
    default:
        throw std::invalid_argument("No search field is chosen");
    }
}

std::array<std::string, 4> DialogSearch::resultTexts(const host::Item& item) const {
    return {item.Text("lastname"), item.Text("firstname"), item.Text("fileas"),
            item.Text("Email1Address")};
}

void DialogSearch::addToTarget(controls::ListView& target, const std::vector<std::string>& keys,
                               const std::vector<std::string>& creators) {
    fillFoundContacts(state_, target, keys, creators);
}

} // namespace velmora::dialogs
