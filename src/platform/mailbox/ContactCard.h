// One vCard file (.vcf) read into plain values and written back: name, e-mail addresses,
// telephone numbers, organisation, note and categories. Reading never stops at a broken line.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::mailbox {

// An e-mail address or telephone number with its TYPE (work, home, cell...), as written.
struct CardValue {
    std::string value;
    std::string type;
    bool operator==(const CardValue&) const = default;
};

struct ContactData {
    std::string uid;
    std::string fullName; // FN
    // N, in its order: family; given; additional; prefixes; suffixes.
    std::string lastName;
    std::string firstName;
    std::string middleName;
    std::string prefix;
    std::string suffix;
    std::vector<CardValue> emails; // the first is Email1Address
    std::vector<CardValue> phones;
    std::string companyName; // ORG: the organisation, then its unit
    std::string department;
    std::string note;
    std::vector<std::string> categories;
    // Empty when the whole card was read; otherwise one message naming the file and the lines
    // that were skipped. Everything else is read.
    std::string problem;

    // The nth address (1-based), or empty: Email1Address, Email2Address...
    std::string emailAddress(std::size_t n) const;
    bool operator==(const ContactData&) const = default;
};

class ContactCard {
  public:
    // Raises ItemFileError when nothing can be read: the file is missing, unreadable, or holds
    // no vCard. A vCard 3.0 is read as it were 4.0: the properties read here are alike.
    static ContactData read(const std::filesystem::path& file);
    // The same for text already read; name stands for the file in messages.
    static ContactData parse(std::string_view text, const std::string& name);
    // The contact as vCard 4.0 text.
    static std::string text(const ContactData& contact);
    // Writes the text beside the file and renames it over; raises ItemFileError.
    static void write(const std::filesystem::path& file, const ContactData& contact);
};

} // namespace velmora::mailbox
