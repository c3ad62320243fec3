// The mail link engine. Statements keep the texts the synchronisation program's peers expect;
// every value is quoted through sqlText so that apostrophes neither break nor change them.
#include "links/AttachEmail.h"

#include "links/InstallPath.h"
#include "links/MailKeys.h"
#include "links/PublicModules.h"
#include "links/SafeFileName.h"
#include "platform/ado/Recordset.h"
#include "platform/controls/ListView.h"
#include "platform/files/FileSystem.h"
#include "platform/log/Log.h"
#include "platform/text/AsciiText.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"
#include "store/TrimBlanks.h"

#include <cctype>
#include <charconv>
#include <limits>
#include <type_traits>

namespace velmora {

namespace fs = std::filesystem;

namespace {

// Name, blank, address; an "smtp:" prefix (this exact case) is the host's address type tag.
std::string recipientEntry(const host::Recipient& recipient) {
    std::string address = trimBlanks(recipient.Address);
    if (address.rfind("smtp:", 0) == 0) address = trimBlanks(address.substr(5));
    return trimBlanks(recipient.Name) + " " + address;
}

void appendEntry(std::string& list, const std::string& entry) {
    if (!list.empty()) list += ",";
    list += entry;
}

// The To, Cc and Bcc lists of the history row; other recipient types are left out.
struct RecipientLists {
    std::string to;
    std::string cc;
    std::string bcc;
};

RecipientLists recipientLists(host::Item& mail) {
    RecipientLists lists;
    host::Recipients& recipients = mail.Recipients();
    const int total = recipients.Count();
    for (int i = 1; i <= total; ++i) {
        const host::Recipient recipient = recipients.Item(i);
        if (recipient.Type == host::olTo)
            appendEntry(lists.to, recipientEntry(recipient));
        else if (recipient.Type == host::olCC)
            appendEntry(lists.cc, recipientEntry(recipient));
        else if (recipient.Type == host::olBCC)
            appendEntry(lists.bcc, recipientEntry(recipient));
    }
    return lists;
}

// Importance low, normal, high as the history's priority 5, 3, 1.
int priorityOf(long importance) {
    if (importance == host::olImportanceHigh) return 1;
    if (importance == host::olImportanceLow) return 5;
    return 3;
}

// The counts and message numbers the store keeps in 16-bit columns.
std::int16_t toInt16(long long value, const std::string& what) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw std::overflow_error("Overflow: " + what + " " + std::to_string(value) +
                                  " does not fit a 16-bit integer");
    return static_cast<std::int16_t>(value);
}

std::int16_t messageNumber(const std::string& msgid) {
    const std::string text = trimBlanks(msgid);
    long long value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (text.empty() || error == std::errc::invalid_argument || stop != end)
        throw std::invalid_argument("Type mismatch: the mail's server id \"" + msgid +
                                    "\" is not a number");
    if (error == std::errc::result_out_of_range)
        throw std::overflow_error("Overflow: the mail's server id " + msgid +
                                  " does not fit a 16-bit integer");
    return toInt16(value, "the mail's server id");
}

// Every occurrence of what in text replaced by with, letters compared without regard to case.
std::string replaceNoCase(const std::string& text, const std::string& what,
                          const std::string& with) {
    if (what.empty()) return text;
    const std::string haystack = velmora::text::lower(text);
    const std::string needle = velmora::text::lower(what);
    std::string out;
    std::size_t from = 0;
    for (auto at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, from)) {
        out += text.substr(from, at - from) + with;
        from = at + what.size();
    }
    return out + text.substr(from);
}

} // namespace

AttachEmail::AttachEmail(StoreContext& state)
    : state_(state), files_(state.platform), journal_(files_) {}

template <typename Body> auto AttachEmail::inOperation(Body&& body) {
    const std::size_t mark = journal_.mark();
    struct Level {
        int& depth;
        explicit Level(int& d) : depth(d) { ++depth; }
        ~Level() { --depth; }
    } level(depth_);
    try {
        auto settle = [&] {
            if (depth_ == 1) journal_.commit();
        };
        if constexpr (std::is_void_v<decltype(body())>) {
            wholeOperation(state_, body, [&] { journal_.rollbackTo(mark); });
            settle();
        } else {
            auto result = wholeOperation(state_, body, [&] { journal_.rollbackTo(mark); });
            settle();
            return result;
        }
    } catch (...) {
        journal_.rollbackTo(mark);
        throw;
    }
}

// ---- public operations -------------------------------------------------------------------

void AttachEmail::emailToContact(host::Item& mail, const controls::ListView* listView, bool newMail,
                                 bool isShareMail, bool includeAttachment, bool isDeleteMail) {
    inOperation([&] {
        const std::string key = settledKey(newMail ? newMailKey(mail) : mail.EntryID());
        ado::Connection& connection = state_.connection();
        // Every contact link of the mail goes: the current set is written afresh below.
        connection.Execute("delete from noteTb where outlookattachid ='" + ado::sqlText(key) + "'");

        if (mail.Attachments().Count() > 0 && !includeAttachment && !newMail &&
            !isAttachEventTb(key))
            removeMailAttachments(key);

        if (mail.Links().Count() > 0) {
            const std::int16_t added =
                listView ? addEmailsToNoteTbForListView(*listView, mail, key, isShareMail,
                                                        includeAttachment)
                         : addEmailsToNoteTb(mail, key, isShareMail, includeAttachment);
            if (added > 0) {
                const bool written = AddEmailHistory(mail, key, added, 2);
                if (written && includeAttachment) saveMailAttachments(mail, key);
                if (written && isDeleteMail)
                    ignoreErrors("emailToContact: deleting the mail " + key,
                                 [&] { mail.Delete(); });
            }
            return;
        }

        // No contact links remain: the history row lives on only for live event links. A failure
        // here undoes the whole relink, so the links deleted above come back.
        ignoreErrorsAndUndo(state_, "emailToContact: the history row of " + key, [&] {
            const long live = countRows(
                state_, "select bAttachment From ToEvent where MakeDelete=0 and OutlookEmailID='" +
                            ado::sqlText(key) + "'");
            if (live == 0)
                connection.Execute("delete from EMailHistory where entryid='" + ado::sqlText(key) +
                                   "'");
            else
                connection.Execute("update EMailHistory set att_count='" + std::to_string(live) +
                                   "'where entryid='" + ado::sqlText(key) + "'");
        });
    });
}

bool AttachEmail::isAttachNoteTb(const std::string& mailEntryId) {
    const std::string key = settledKey(mailEntryId);
    ado::Recordset rs;
    rs.Open("select bAttachment From NoteTb where OutlookAttachID='" + ado::sqlText(key) +
                "' and bAttachment=True",
            state_.connection());
    return !rs.IsEOF();
}

std::string AttachEmail::newMailKey(host::Item& mail) {
    if (auto given = keys_.keyOf(mail)) return *given;
    const std::string plain = newMailID(mail);
    // Only a clash earns a suffix: the first mail of a second keeps the plain key. Rows in the
    // store count as well, for a mail still in the Outbox from an earlier session.
    const auto taken = [&](const std::string& key) {
        return keys_.isTaken(key) ||
               countRows(state_, "select entryid from EMailHistory where entryid='" +
                                     ado::sqlText(key) + "'") > 0;
    };
    std::string key = plain;
    for (int n = 2; taken(key); ++n)
        key = suffixedMailID(plain, n);
    keys_.give(mail, key);
    return key;
}

bool AttachEmail::isNewMail(host::Item& mail) {
    bool found = false;
    errorTrap(state_, "isNewMail :", [&] {
        const std::optional<std::string> key = arrivedKey(mail);
        if (!key) return;
        ado::Recordset rs;
        rs.Open("select entryid from EMailHistory where entryid='" + ado::sqlText(*key) + "'",
                state_.connection());
        found = !rs.IsEOF();
    });
    return found;
}

void AttachEmail::replaceNewMailID(host::Item& mail) {
    inOperation([&] {
        std::string newKey;
        std::string oldKey;
        bool withAttachments = false;
        // Without both keys every statement below would rewrite rows to a wrong key.
        if (!ignoreErrors([&] {
                newKey = mail.EntryID();
                oldKey = arrivedKey(mail).value_or("");
            }) ||
            newKey.empty() || oldKey.empty() || oldKey == newKey)
            return;
        ignoreErrors([&] { withAttachments = mail.Attachments().Count() > 0; });
        moveMailRows(oldKey, newKey, withAttachments);
        keys_.arrived(mail, newKey);
    });
}

void AttachEmail::mailArrived(const host::Item& mail) {
    keys_.arrived(mail, mail.EntryID());
}

std::string AttachEmail::settledKey(const std::string& mailKey) {
    const std::optional<std::string> arrived = keys_.entryIdOf(mailKey);
    if (!arrived) return mailKey;
    const std::string& entryId = *arrived;
    inOperation([&] {
        // Rows written before the mail arrived and not moved on arrival follow it now.
        if (countRows(state_, "select entryid from EMailHistory where entryid='" +
                                  ado::sqlText(mailKey) + "'") > 0)
            moveMailRows(mailKey, entryId, true);
    });
    return entryId;
}

bool AttachEmail::emailToEvent(host::Item& mail, const std::string& eventEntryId,
                               const std::string& mailEntryId, bool isIncludeAttachment) {
    return inOperation([&] {
        const std::string key = settledKey(mailEntryId);
        if (!AttEmailToEventTb(mail, eventEntryId, key, isIncludeAttachment)) return false;
        return AddEmailHistory(mail, key, 1, 1);
    });
}

void AttachEmail::saveMailAttachments(host::Item& mail, std::string mailEntryId) {
    inOperation([&] {
        const std::string key = settledKey(mailEntryId);
        const std::string msgid = getServerID(state_, kindMail, key);
        const fs::path root = attachmentRoot(state_);
        const fs::path folder = attachmentFolder(key);
        const fs::path pending = pendingFolder(key);
        ignoreErrors([&] {
            if (files::folderExists(root)) return;
            files_.createFolder(root);
            journal_.createdFolder(root);
        });
        errorTrap(state_, "labelSaveAttachment :", [&] {
            // Copied before means copied and recorded: a folder without rows, or rows without a
            // folder, is what an interrupted copy left, and is copied afresh.
            const long recorded =
                countRows(state_, "select EntryID from Attachments where EntryID='" +
                                      ado::sqlText(key) + "'");
            const bool copied = files::folderExists(folder) || journal_.isStaged(pending);
            if (copied && recorded > 0) {
                log::info("labelSaveAttachment",
                          "attachments of " + key + " kept: " + folder.string() + " exists");
                return;
            }
            if (recorded > 0)
                state_.connection().Execute("delete from Attachments where EntryID='" +
                                            ado::sqlText(key) + "'");
            stageFolder(pending, folder);
            host::Attachments& attachments = mail.Attachments();
            const int total = attachments.Count();
            for (int n = 1; n <= total; ++n) {
                const std::shared_ptr<host::Attachment> attachment = attachments.Item(n);
                if (!attachment)
                    throw host::HostError("Attachment " + std::to_string(n) +
                                          " of the mail is no longer there");
                const std::string copy = attachmentFileName(n, attachment->DisplayName());
                files_.saveAttachment(*attachment, pending / copy);
                addAttachmentRow(key, attachment.get(), msgid, copy);
            }
        });
    });
}

void AttachEmail::removeMailAttachments(std::string mailEntryId) {
    inOperation([&] {
        // Silent by design: a mail without a folder keeps its rows, and a failed delete keeps
        // the copies as well.
        ignoreErrors([&] {
            const std::string key = settledKey(mailEntryId);
            const fs::path folder = attachmentFolder(key);
            if (!files::folderExists(folder)) return;
            state_.connection().Execute("delete from Attachments where entryid='" +
                                        ado::sqlText(key) + "'");
            // After a crash between the commit and this removal the folder has no rows, and
            // the next start removes it.
            journal_.deleteOnCommit(folder);
        });
    });
}

std::string AttachEmail::getSenderAddress(const std::string& mailKey) {
    std::string address;
    if (isSubstituteKey(mailKey)) {
        address = state_.currentUser;
    } else {
        address = "-1";
        cdo::MapiSession* session = state_.platform.mapi;
        if (session) {
            bool loggedOn = false;
            ignoreErrors([&] {
                session->Logon();
                loggedOn = true;
                address = session->SenderAddress(mailKey);
            });
            if (loggedOn) ignoreErrors([&] { session->Logoff(); });
        }
    }
    return address == "-1" ? "" : address;
}

fs::path AttachEmail::attachmentFolder(const std::string& mailKey) const {
    return attachmentRoot(state_) / mailFolderName(mailKey);
}

fs::path AttachEmail::attachmentCopy(const std::string& mailKey, int position,
                                     const std::string& displayName) const {
    return attachmentFolder(mailKey) / attachmentFileName(position, displayName);
}

// ---- private steps -----------------------------------------------------------------------

std::int16_t AttachEmail::addEmailsToNoteTbForListView(const controls::ListView& listView,
                                                       host::Item& mail, const std::string& key,
                                                       bool isShared, bool withAttachment) {
    std::int16_t count = 0;
    errorTrap(state_, "addEmailsToNoteTbForListView :", [&] {
        const std::string creator = getItemCreator(state_, kindMailOwner, key);
        const controls::ListItemCollection& rows = listView.ListItems();
        const int total = rows.Count();
        for (int i = 1; i <= total; ++i)
            if (AttEmailToNoteTb(mail, creator, key, rows.Item(i).Key(), isShared, withAttachment))
                count = toInt16(count + 1, "the number of contact links");
    });
    return count;
}

std::int16_t AttachEmail::addEmailsToNoteTb(host::Item& mail, const std::string& key, bool isShared,
                                            bool withAttachment) {
    std::int16_t count = 0;
    errorTrap(state_, "addEmailsToNoteTb :", [&] {
        const std::string creator = getItemCreator(state_, kindMailOwner, key);
        host::Links& links = mail.Links();
        const int total = links.Count();
        for (int i = 1; i <= total; ++i) {
            const host::ItemPtr linked = links.Item(i);
            // A link to something other than a contact, or to an item that is gone, is skipped.
            std::string contactEntryId;
            bool isContact = false;
            ignoreErrorsAndUndo(state_, "emailToContact: a linked item of " + key, [&] {
                if (linked && linked->Class() == host::olContact) {
                    contactEntryId = linked->EntryID();
                    isContact = true;
                }
            });
            if (isContact &&
                AttEmailToNoteTb(mail, creator, key, contactEntryId, isShared, withAttachment))
                count = toInt16(count + 1, "the number of contact links");
        }
    });
    return count;
}

bool AttachEmail::AttEmailToNoteTb(host::Item& mail, const std::string& creator,
                                   const std::string& key, const std::string& contactEntryId,
                                   bool isShared, bool withAttachment) {
    return errorTrap(state_, "AttEmailToNoteTb :", [&] {
        ado::Recordset rs;
        rs.Open("select * from notetb where outlookattachid='" + ado::sqlText(key) +
                    "' and outlookContactid='" + ado::sqlText(contactEntryId) + "'",
                state_.connection(), ado::adOpenKeyset, ado::adLockPessimistic);
        if (!rs.IsEOF()) return; // the link stands already
        rs.AddNew();
        rs.Fields("Type") = 2;
        const std::string subject = mail.Subject();
        if (!subject.empty()) rs.Fields("regarding") = subject;
        rs.Fields("DateCreated") = mail.Date("CreationTime");
        rs.Fields("DateEdit") = mail.Date("LastModificationTime");
        rs.Fields("contactID") = getServerID(state_, kindContact, contactEntryId);
        rs.Fields("Creator") = creator;
        rs.Fields("PrivateAccess") = isShared ? 0 : 1;
        rs.Fields("bAttachment") = withAttachment;
        rs.Fields("Attached_ID") = attachedId(key);
        rs.Fields("OutlookContactID") = contactEntryId;
        rs.Fields("OutlookAttachID") = key;
        rs.Update();
    });
}

bool AttachEmail::AddEmailHistory(host::Item& mail, const std::string& key, std::int16_t added,
                                  int otherTable) {
    return errorTrap(state_, "AddEmailHistory :", [&] {
        ado::Recordset rs;
        rs.Open("select * from EMailHistory where entryid= '" + ado::sqlText(key) + "'",
                state_.connection(), ado::adOpenKeyset, ado::adLockPessimistic);
        if (!rs.IsEOF()) {
            long others = 0;
            if (otherTable == 1)
                others =
                    countRows(state_, "select OutlookAttachID from noteTb where OutlookAttachID='" +
                                          ado::sqlText(key) + "'");
            else if (otherTable == 2)
                others =
                    countRows(state_, "select OutlookEmailID From ToEvent where OutlookEmailID='" +
                                          ado::sqlText(key) + "'");
            rs.Fields("att_count") = static_cast<int>(toInt16(added + others, "att_count"));
            rs.Update();
            return;
        }

        rs.AddNew();
        rs.Fields("entryid") = key;
        const std::string senderName = mail.Text("SenderName");
        const std::string senderAddress = getSenderAddress(key);
        if (!senderName.empty())
            rs.Fields("from_addr") = senderName + " " + senderAddress;
        else if (!senderAddress.empty())
            rs.Fields("from_addr") = senderAddress;

        const RecipientLists lists = recipientLists(mail);
        if (!lists.to.empty()) rs.Fields("to_addr") = lists.to;
        if (!lists.cc.empty()) rs.Fields("cc_addr") = lists.cc;
        if (!lists.bcc.empty()) rs.Fields("bcc_addr") = lists.bcc;

        rs.Fields("priority") = priorityOf(mail.Number("Importance"));
        const std::string subject = mail.Subject();
        if (!subject.empty()) rs.Fields("subject") = subject;
        rs.Fields("date_time") =
            mail.Flag("Sent") ? dateTimeText(mail.Get("SentOn")) : dateTimeText(state_.now());
        const std::string body = mail.Text("Body");
        if (!body.empty()) rs.Fields("body_text") = body;
        const std::string html = mail.Text("HTMLBody");
        if (!html.empty()) rs.Fields("body_html") = html;
        rs.Fields("size") = static_cast<long>(static_cast<std::int32_t>(mail.Number("Size")));
        rs.Fields("content_type") = html.empty() ? "text/plain" : "text/html";
        rs.Fields("att_count") = static_cast<int>(added);
        rs.Fields("isDeleted") = false;
        rs.Update();
    });
}

bool AttachEmail::isAttachEventTb(const std::string& key) {
    ado::Recordset rs;
    rs.Open("select bAttachment From ToEvent where OutlookEmailID='" + ado::sqlText(key) +
                "' and  bAttachment=True",
            state_.connection());
    return !rs.IsEOF();
}

bool AttachEmail::AttEmailToEventTb(host::Item& mail, const std::string& eventEntryId,
                                    const std::string& key, bool withAttachment) {
    return errorTrap(state_, "LabelAddApp :", [&] {
        const std::string msgid = getServerID(state_, kindMail, key);
        const std::string eventId = getServerID(state_, kindAppointment, eventEntryId);
        ado::Recordset rs;
        rs.Open("select * from ToEvent where type=-1", state_.connection(), ado::adOpenKeyset,
                ado::adLockPessimistic);
        rs.AddNew();
        rs.Fields("type") = 1;
        rs.Fields("MakeDelete") = false;
        const std::string subject = mail.Subject();
        if (!subject.empty()) rs.Fields("Regarding") = subject;
        rs.Fields("Creator") = getItemCreator(state_, kindMailOwner, key);
        rs.Fields("DateCreated") = mail.Date("CreationTime");
        rs.Fields("contactID") = eventId;
        rs.Fields("Attached_ID") = msgid == "-1" ? msgid : state_.currentUser + ":" + msgid;
        rs.Fields("bAttachment") = withAttachment;
        rs.Fields("OutlookApptID") = eventEntryId;
        rs.Fields("OutlookEmailID") = key;
        rs.Update();
    });
}

void AttachEmail::addAttachmentRow(const std::string& key, const host::Attachment* attachment,
                                   const std::string& msgid, const std::string& copyName) {
    if (!attachment) return;
    const int index = attachment->Index();
    const std::string displayName = attachment->DisplayName();
    ado::Recordset rs;
    rs.Open("select * from Attachments where ALIAS_INDEX=" + std::to_string(index) +
                " and ATT_NAME='" + ado::sqlText(displayName) + "' and EntryID ='" +
                ado::sqlText(key) + "'",
            state_.connection(), ado::adOpenKeyset, ado::adLockPessimistic);
    if (!rs.IsEOF()) return;
    rs.AddNew();
    rs.Fields("Msg_ID") = static_cast<int>(messageNumber(msgid));
    rs.Fields("EntryID") = key;
    rs.Fields("USER_NAME") = getCurrentUser(state_);
    if (!displayName.empty()) rs.Fields("ATT_NAME") = displayName;
    rs.Fields("ATT_CONTENT_TYPE") = getMimeType(attachment->FileName());
    // The alias names the copy as written, so that the synchronisation program finds the file
    // even when the display name had to be made safe for the file system.
    rs.Fields("ATT_ALIAS") = mailFolderName(key) + "/" + copyName;
    rs.Fields("ALIAS_INDEX") = static_cast<long>(index);
    rs.Update();
}

void AttachEmail::renameAttachmentFolder(const std::string& newName, const std::string& oldName) {
    const fs::path from = attachmentFolder(oldName);
    const fs::path to = attachmentFolder(newName);
    if (!files::folderExists(from) || from == to) return;
    // The copies are shared into the new key's pending folder, which replaces the new folder
    // once the moved rows commit; only then does the old folder go.
    const fs::path pending = pendingFolder(newName);
    if (!journal_.isStaged(pending)) {
        stageFolder(pending, to);
        if (files::folderExists(to)) files_.shareFiles(to, pending);
    }
    files_.shareFiles(from, pending);
    journal_.deleteOnCommit(from);
}

fs::path AttachEmail::pendingFolder(const std::string& mailKey) const {
    return attachmentRoot(state_) / pendingFolderName(mailFolderName(mailKey));
}

void AttachEmail::stageFolder(const fs::path& pending, const fs::path& folder) {
    // A pending folder left by an earlier failure holds nothing of this operation's.
    if (files::folderExists(pending)) files_.deleteFolder(pending);
    files_.createFolder(pending);
    if (!journal_.isStaged(pending)) journal_.stagedFolder(pending, folder);
}

void AttachEmail::moveMailRows(const std::string& oldKey, const std::string& newKey,
                               bool withAttachments) {
    const std::string from = getSenderAddress(newKey);
    ado::Connection& connection = state_.connection();
    // A row left under the old key would part the mail from its history: all move, or none.
    const std::string what = "moving the rows of " + oldKey;
    ignoreErrorsAndUndo(state_, what, [&] {
        connection.Execute("update noteTb set OutlookAttachID='" + ado::sqlText(newKey) +
                           "' where OutlookAttachID='" + ado::sqlText(oldKey) + "'");
    });
    ignoreErrorsAndUndo(state_, what, [&] {
        connection.Execute("update ToEvent set OutlookEmailID='" + ado::sqlText(newKey) +
                           "' where OutlookEmailID='" + ado::sqlText(oldKey) + "'");
    });
    ignoreErrorsAndUndo(state_, what, [&] {
        connection.Execute("update EMailHistory set from_addr ='" + ado::sqlText(from) +
                           "' , entryid='" + ado::sqlText(newKey) + "' where  entryid='" +
                           ado::sqlText(oldKey) + "'");
    });
    ignoreErrorsAndUndo(state_, what, [&] {
        if (!withAttachments) return;
        ado::Recordset rs;
        rs.Open("select EntryID,ATT_ALIAS from Attachments where EntryID='" + ado::sqlText(oldKey) +
                    "'",
                connection, ado::adOpenKeyset, ado::adLockPessimistic);
        if (rs.IsEOF()) return;
        while (!rs.IsEOF()) {
            ignoreErrorsAndUndo(state_, what, [&] {
                const std::string alias = rs.Fields("ATT_ALIAS").Value().text();
                rs.Fields("EntryID") = newKey;
                // Aliases name the folders as written on disk.
                rs.Fields("ATT_ALIAS") =
                    replaceNoCase(alias, mailFolderName(oldKey), mailFolderName(newKey));
                rs.Update();
            });
            rs.MoveNext();
        }
        ignoreErrorsAndUndo(state_, what, [&] { renameAttachmentFolder(newKey, oldKey); });
    });
}

std::optional<std::string> AttachEmail::arrivedKey(host::Item& mail) {
    if (auto given = keys_.keyOf(mail)) return given;
    // Given no key this session (sent before the add-in last started, or sent without Attach):
    // its rows are those of a history row under a key of its creation time that no mail of this
    // session holds and that records this very mail, as a sent mail never changes; of several
    // alike, the first given.
    const std::string plain = newMailID(mail);
    const std::string subject = mail.Subject();
    const std::string body = mail.Text("Body");
    const RecipientLists lists = recipientLists(mail);
    ado::Recordset rs;
    rs.Open("select entryid,subject,to_addr,cc_addr,bcc_addr,body_text from EMailHistory where "
            "entryid like '" +
                ado::sqlText(plain) + "%'",
            state_.connection());
    std::optional<std::string> found;
    int first = 0;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        std::string key = rs.Fields("entryid").Value().text();
        const std::optional<int> n = suffixNumber(key, plain);
        if (!n || (found && *n > first) || keys_.isTaken(key)) continue;
        if (rs.Fields("subject").Value().text() != subject ||
            rs.Fields("to_addr").Value().text() != lists.to ||
            rs.Fields("cc_addr").Value().text() != lists.cc ||
            rs.Fields("bcc_addr").Value().text() != lists.bcc ||
            rs.Fields("body_text").Value().text() != body)
            continue;
        found = std::move(key);
        first = *n;
    }
    return found;
}

std::string AttachEmail::dateTimeText(const host::Variant& date) {
    std::string text;
    errorTrap(state_,
              "labelShift:", [&] { text = velmora::dateTimeText(host::variantDate(date)); });
    return text;
}

std::string AttachEmail::attachedId(const std::string& key) {
    const std::string msgid = getServerID(state_, kindMail, key);
    return msgid == "-1" ? msgid : state_.currentUser + ":" + msgid;
}

} // namespace velmora
