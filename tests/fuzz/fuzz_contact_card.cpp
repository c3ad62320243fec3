// Fuzz target for the contact-card reader: checks that every text read is UTF-8 and that a
// rewrite reads back with the same UID, full name and e-mail addresses.
#include "platform/mailbox/ContactCard.h"
#include "platform/mailbox/ItemFiles.h"
#include "Utf8Check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace velmora::mailbox;
using velmora::fuzz::expectUtf8;

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

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
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ContactData contact;
    try {
        contact = ContactCard::parse(bytes, "fuzz.vcf");
    } catch (const ItemFileError&) {
        return 0;
    }
    check(contact);
    ContactData again;
    try {
        again = ContactCard::parse(ContactCard::text(contact), "again.vcf");
    } catch (const ItemFileError& e) {
        fail(std::string("the rewritten card cannot be read: ") + e.what());
    }
    check(again);
    if (again.uid != contact.uid) fail("the rewrite changes UID \"" + contact.uid + "\"");
    if (again.fullName != contact.fullName)
        fail("the rewrite changes full name \"" + contact.fullName + "\" to \"" + again.fullName +
             "\"");
    if (again.emails != contact.emails) fail("the rewrite changes the e-mail addresses");
    return 0;
}
