// Store invariants as queries: each names the rows that break one rule, so that a report says
// which key is wrong and why. Soft-deleted links (MakeDelete) count as gone.
#include "links/LinkStoreCheck.h"

#include "platform/ado/Recordset.h"

#include <set>
#include <system_error>

namespace velmora {

namespace fs = std::filesystem;

namespace {

struct Rule {
    const char* what;
    const char* sql; // selects the offending key
};

// The live links of each kind of item and the history table that must mirror them.
constexpr Rule rules[] = {
    {"mail link without history row",
     "select OutlookAttachID from noteTb where type=2 and OutlookAttachID not in "
     "(select entryid from EMailHistory) union select OutlookEmailID from ToEvent where type=1 "
     "and MakeDelete=0 and OutlookEmailID not in (select entryid from EMailHistory)"},
    {"mail history row without link",
     "select entryid from EMailHistory where entryid not in (select OutlookAttachID from noteTb "
     "where type=2) and entryid not in (select OutlookEmailID from ToEvent where type=1 and "
     "MakeDelete=0)"},
    {"note link without history row",
     "select OutlookAttachID from noteTb where type=4 and MakeDelete=0 and OutlookAttachID not "
     "in (select outlooknoteid from NoteHistory) union select OutlookEmailID from ToEvent where "
     "type=4 and MakeDelete=0 and OutlookEmailID not in (select outlooknoteid from NoteHistory)"},
    {"note history row without link",
     "select outlooknoteid from NoteHistory where outlooknoteid not in (select OutlookAttachID "
     "from noteTb where type=4 and MakeDelete=0) and outlooknoteid not in (select "
     "OutlookEmailID from ToEvent where type=4 and MakeDelete=0)"},
    {"appointment link without history row",
     "select OutlookAttachID from noteTb where type=1 and MakeDelete=0 and OutlookAttachID not "
     "in (select taskid from CalendarHistory)"},
    {"appointment history row without link",
     "select taskid from CalendarHistory where taskid not in (select OutlookAttachID from noteTb "
     "where type=1 and MakeDelete=0)"},
};

std::vector<std::string> column(ado::Connection& store, const std::string& sql) {
    std::vector<std::string> values;
    ado::Recordset rs;
    rs.Open(sql, store);
    for (; !rs.IsEOF(); rs.MoveNext())
        values.push_back(rs.Fields(0).Value().text());
    return values;
}

// Every copy below the root, as the alias a row would name it by ("folder/file").
std::set<std::string> copiesOnDisk(const fs::path& root) {
    std::set<std::string> copies;
    std::error_code error;
    if (!fs::is_directory(root, error)) return copies;
    for (const auto& folder : fs::directory_iterator(root, error)) {
        if (!folder.is_directory()) {
            copies.insert(folder.path().filename().string());
            continue;
        }
        // A folder left empty belongs to a mail without attachments: it adds nothing here.
        std::error_code inner;
        for (const auto& file : fs::directory_iterator(folder.path(), inner))
            copies.insert(folder.path().filename().string() + "/" +
                          file.path().filename().string());
    }
    return copies;
}

} // namespace

std::vector<std::string> findInconsistencies(ado::Connection& store,
                                             const fs::path& attachmentRoot) {
    std::vector<std::string> problems;
    for (const Rule& rule : rules)
        for (const std::string& key : column(store, rule.sql))
            problems.push_back(std::string(rule.what) + ": " + key);

    const std::set<std::string> onDisk = copiesOnDisk(attachmentRoot);
    std::set<std::string> named;
    for (const std::string& alias : column(store, "select ATT_ALIAS from Attachments")) {
        named.insert(alias);
        if (!onDisk.contains(alias)) problems.push_back("attachment row without copy: " + alias);
    }
    for (const std::string& copy : onDisk)
        if (!named.contains(copy)) problems.push_back("attachment copy without row: " + copy);
    return problems;
}

} // namespace velmora
