// Fuzz target for the contact-card reader: checks that every text read is UTF-8 and that a
// rewrite reads back with the same UID, full name and e-mail addresses.
#include "FuzzChecks.h"
#include "platform/mailbox/ContactCard.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

using namespace velmora::mailbox;
using velmora::fuzz::expectUtf8;
using velmora::fuzz::fail;

namespace {

void check(const ContactData& contact) {
    for (const auto& [text, field] : {std::pair{&contact.uid, "UID"},
                                      {&contact.fullName, "full name"},
                                      {&contact.lastName, "last name"},
                                      {&contact.firstName, "first name"},
                                      {&contact.middleName, "middle name"},
                                      {&contact.prefix, "prefix"},
                                      {&contact.suffix, "suffix"},
                                      {&contact.companyName, "company"},
                                      {&contact.department, "department"},
                                      {&contact.note, "note"},
                                      {&contact.problem, "problem"}})
        expectUtf8(*text, field);
    for (const CardValue& email : contact.emails)
        expectUtf8(email.value, "e-mail address");
    for (const CardValue& phone : contact.phones)
        expectUtf8(phone.value, "telephone number");
    for (const std::string& category : contact.categories)
        expectUtf8(category, "category");
}

} // namespace

// An ItemFileError says the input holds no card; any other exception is a finding.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read = velmora::fuzz::readTwice<ContactData>(
        {reinterpret_cast<const char*>(data), size}, ContactCard::parse, ContactCard::text, check);
    if (!read) return 0;
    const auto& [contact, again] = *read;
    if (again.uid != contact.uid) fail("the rewrite changes UID \"" + contact.uid + "\"");
    if (again.fullName != contact.fullName)
        fail("the rewrite changes full name \"" + contact.fullName + "\" to \"" + again.fullName +
             "\"");
    if (again.emails != contact.emails) fail("the rewrite changes the e-mail addresses");
    return 0;
}
