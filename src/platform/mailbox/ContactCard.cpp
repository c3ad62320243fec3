// One vCard file (.vcf) read into plain values and written back, over belcard.
// belcard hands out values as written: escapes are undone here, and added again on writing.
#include "platform/mailbox/ContactCard.h"

#include "platform/mailbox/Charsets.h"
#include "platform/mailbox/ItemFiles.h"

#include <bctoolbox/logging.h>
#include <belcard/belcard.hpp>
#include <belcard/belcard_parser.hpp>

#include <mutex>

namespace velmora::mailbox {

namespace {

using belcard::BelCard;

// belcard's parser builds its grammar once; its own log of refused text is silenced, since
// the problem of the file says the same, naming the file.
belcard::BelCardParser& parser() {
    static std::once_flag once;
    std::call_once(once, [] { bctbx_set_log_level_mask("belcard", BCTBX_LOG_FATAL); });
    return *belcard::BelCardParser::getInstance();
}

// Splits at the separator where it is not escaped, and undoes the escapes of each part.
std::vector<std::string> components(const std::string& raw, char separator) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == separator) {
            parts.emplace_back();
            continue;
        }
        if (c != '\\' || i + 1 == raw.size()) {
            parts.back() += c;
            continue;
        }
        const char next = raw[++i];
        parts.back() += next == 'n' || next == 'N' ? '\n' : next;
    }
    return parts;
}

std::string unescaped(const std::string& raw) {
    return components(raw, '\0').front();
}

// Compound values (N, ORG) escape their ";" too; plain text leaves it.
std::string escaped(const std::string& text, bool compound) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (c == '\\' || c == ',' || (compound && c == ';')) out += '\\';
        out += c;
    }
    return out;
}

template <typename Property> CardValue cardValue(const Property& p) {
    return {p->getValue(), p->getTypeParam() ? p->getTypeParam()->getValue() : ""};
}

// Adds what the card holds; a card of one line adds that line's value.
void readCard(const BelCard& card, ContactData& contact) {
    if (card.getUniqueId()) contact.uid = card.getUniqueId()->getValue();
    if (card.getFullName()) contact.fullName = unescaped(card.getFullName()->getValue());
    if (const auto& n = card.getName()) {
        contact.lastName = unescaped(n->getFamilyName());
        contact.firstName = unescaped(n->getGivenName());
        contact.middleName = unescaped(n->getAdditionalName());
        contact.prefix = unescaped(n->getPrefixes());
        contact.suffix = unescaped(n->getSuffixes());
    }
    for (const auto& email : card.getEmails())
        contact.emails.push_back(cardValue(email));
    for (const auto& phone : card.getPhoneNumbers())
        contact.phones.push_back(cardValue(phone));
    if (!card.getOrganizations().empty()) {
        const auto parts = components(card.getOrganizations().front()->getValue(), ';');
        contact.companyName = parts[0];
        contact.department = parts.size() > 1 ? parts[1] : "";
    }
    if (!card.getNotes().empty()) contact.note = unescaped(card.getNotes().front()->getValue());
    for (const auto& list : card.getCategories())
        for (std::string& category : components(list->getValue(), ','))
            if (!category.empty()) contact.categories.push_back(std::move(category));
}

std::string cardText(const std::string& body) {
    return "BEGIN:VCARD\r\nVERSION:4.0\r\n" + body + "END:VCARD\r\n";
}

// A card belcard refuses is read line by line, each line as a card of its own, so that one
// broken line costs only itself. Returns the refused lines.
std::vector<std::string> salvage(const std::string& text, ContactData& contact) {
    std::vector<std::string> refused;
    const std::string unfolded = belcard_unfold(text);
    std::size_t at = 0;
    while (at < unfolded.size()) {
        std::size_t end = unfolded.find('\n', at);
        if (end == std::string::npos) end = unfolded.size();
        std::string line = unfolded.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.rfind("BEGIN:", 0) == 0 || line.rfind("END:", 0) == 0 ||
            line.rfind("VERSION:", 0) == 0)
            continue;
        if (const auto card = parser().parseOne(cardText(line + "\r\n")))
            readCard(*card, contact);
        else
            refused.push_back(std::move(line));
    }
    return refused;
}

} // namespace

std::string ContactData::emailAddress(std::size_t n) const {
    return n >= 1 && n <= emails.size() ? emails[n - 1].value : std::string();
}

ContactData ContactCard::read(const std::filesystem::path& file) {
    return parse(readItemFile(file, "contact"), file.string());
}

ContactData ContactCard::parse(std::string_view text, const std::string& name) {
    // belcard passes bytes through as written; the texts read, and the problem quoting them,
    // must be UTF-8. Folding may split a character, so the check comes after unfolding.
    const std::string unfolded = belcard_unfold(std::string(text));
    std::string card = validUtf8(unfolded);
    const bool notUtf8 = card != unfolded;
    if (card.find("BEGIN:VCARD") == std::string::npos)
        throw ItemFileError("Cannot read contact file " + name + ": it holds no vCard");
    // belcard knows only vCard 4.0; the version line is the one difference it refuses. Only a
    // line of its own is the version: a value may hold the same text.
    if (const std::size_t v3 = card.find("\nVERSION:3.0"); v3 != std::string::npos)
        card.replace(v3 + 1, 11, "VERSION:4.0");
    ContactData contact;
    const std::string recoded = notUtf8 ? "bytes that are not UTF-8 are read as U+FFFD" : "";
    const auto problem = [&](const std::string& what) {
        return "Contact file " + name + ": " + what + "; the rest is read";
    };
    if (const auto whole = parser().parseOne(card)) {
        readCard(*whole, contact);
        if (notUtf8) contact.problem = problem(recoded);
        return contact;
    }
    const std::vector<std::string> refused = salvage(card, contact);
    std::string lines;
    for (const std::string& line : refused)
        lines += (lines.empty() ? "\"" : ", \"") + line + "\"";
    contact.problem = problem((notUtf8 ? recoded + "; " : "") +
                              (refused.empty() ? std::string("the card is not closed by END:VCARD")
                                               : "cannot read " + lines));
    return contact;
}

std::string ContactCard::text(const ContactData& contact) {
    const auto line = [](const std::string& property, const std::string& value) {
        return property + ":" + value + "\r\n";
    };
    std::string body;
    if (!contact.uid.empty()) body += line("UID", contact.uid);
    body += line("FN", escaped(contact.fullName, false));
    body += line("N", escaped(contact.lastName, true) + ";" + escaped(contact.firstName, true) +
                          ";" + escaped(contact.middleName, true) + ";" +
                          escaped(contact.prefix, true) + ";" + escaped(contact.suffix, true));
    const auto typed = [&](const char* property, const CardValue& v) {
        return line(std::string(property) + (v.type.empty() ? "" : ";TYPE=" + v.type), v.value);
    };
    for (const CardValue& email : contact.emails)
        body += typed("EMAIL", email);
    for (const CardValue& phone : contact.phones)
        body += typed("TEL", phone);
    if (!contact.companyName.empty() || !contact.department.empty())
        body += line(
            "ORG", escaped(contact.companyName, true) +
                       (contact.department.empty() ? "" : ";" + escaped(contact.department, true)));
    if (!contact.note.empty()) body += line("NOTE", escaped(contact.note, false));
    if (!contact.categories.empty()) {
        std::string list;
        for (const std::string& category : contact.categories)
            list += (list.empty() ? "" : ",") + escaped(category, false);
        body += line("CATEGORIES", list);
    }
    // belcard checks the card and folds its long lines.
    const auto card = parser().parseOne(cardText(body));
    if (!card)
        throw ItemFileError("Cannot write contact \"" + contact.fullName +
                            "\": belcard refuses the card");
    return card->toFoldedString();
}

void ContactCard::write(const std::filesystem::path& file, const ContactData& contact) {
    writeItemFile(file, text(contact), "contact");
}

} // namespace velmora::mailbox
