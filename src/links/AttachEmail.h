// The mail link engine: links of a mail to contacts (noteTb) and events (ToEvent), the mail's
// history row (EMailHistory) and the copies of its attachments (Attachments and their folder).
#pragma once

#include "links/FileChangeJournal.h"
#include "links/FileSteps.h"
#include "links/SubstituteKeys.h"
#include "store/StoreContext.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace velmora {

namespace controls {
class ListView;
}

class AttachEmail {
  public:
    explicit AttachEmail(StoreContext& state);

    // Public operations run in one transaction each and let store and host errors reach the
    // caller (rolling back what they wrote); their private steps report and carry on. Folder
    // changes are settled when the operation commits, so a caller should not wrap a call in a
    // transaction of its own that it may roll back.

    // Rebuilds the mail's contact links from the list's keys (or, without a list, from the
    // mail's own contact links) and keeps its history row and attachment copies in step.
    void emailToContact(host::Item& mail, const controls::ListView* listView, bool newMail,
                        bool isShareMail, bool includeAttachment, bool isDeleteMail);
    // Some contact link of the mail key keeps the attachments (soft-deleted rows count).
    bool isAttachNoteTb(const std::string& mailEntryId);
    // The substitute key of a mail on its way out: the one it was given before, else newMailID
    // of its creation time, with a suffix when another mail holds that key already.
    std::string newMailKey(host::Item& mail);
    // The history holds a row under the substitute key of this very mail.
    bool isNewMail(host::Item& mail);
    // Moves every row and the attachment folder of this very mail from its substitute key to
    // its entry ID.
    void replaceNewMailID(host::Item& mail);
    // A mail has reached Sent Items: when it was given a substitute key, rows written for it
    // under that key from now on go under its entry ID.
    void mailArrived(const host::Item& mail);
    // The key a mail's rows belong under now: the entry ID of an arrived mail (rows still left
    // under its substitute key are moved there first), else the key itself.
    std::string settledKey(const std::string& mailKey);
    // Adds one event link and writes the history row; true when both were written.
    bool emailToEvent(host::Item& mail, const std::string& eventEntryId,
                      const std::string& mailEntryId, bool isIncludeAttachment);
    // Copies the attachments once per mail key and lists them in Attachments. The copies wait
    // in a pending folder until the rows commit; a folder without rows counts as not copied.
    void saveMailAttachments(host::Item& mail, std::string mailEntryId);
    // Drops the Attachments rows and the copies of a mail key that has a folder.
    void removeMailAttachments(std::string mailEntryId);

    // The SMTP address of a stored mail's sender; the login name for a substitute key.
    std::string getSenderAddress(const std::string& mailKey);

    // The attachment folder of a mail key and the copy of the attachment at a position.
    std::filesystem::path attachmentFolder(const std::string& mailKey) const;
    std::filesystem::path attachmentCopy(const std::string& mailKey, int position,
                                         const std::string& displayName) const;

  private:
    std::int16_t addEmailsToNoteTbForListView(const controls::ListView& listView, host::Item& mail,
                                              const std::string& key, bool isShared,
                                              bool withAttachment);
    std::int16_t addEmailsToNoteTb(host::Item& mail, const std::string& key, bool isShared,
                                   bool withAttachment);
    bool AttEmailToNoteTb(host::Item& mail, const std::string& creator, const std::string& key,
                          const std::string& contactEntryId, bool isShared, bool withAttachment);
    bool AddEmailHistory(host::Item& mail, const std::string& key, std::int16_t added,
                         int otherTable);
    bool isAttachEventTb(const std::string& key);
    bool AttEmailToEventTb(host::Item& mail, const std::string& eventEntryId,
                           const std::string& key, bool withAttachment);
    // copyName is the file name the copy was written under, in the mail's attachment folder.
    void addAttachmentRow(const std::string& key, const host::Attachment* attachment,
                          const std::string& msgid, const std::string& copyName);
    void renameAttachmentFolder(const std::string& newName, const std::string& oldName);
    void moveMailRows(const std::string& oldKey, const std::string& newKey, bool withAttachments);
    // The substitute key the arriving mail's rows stand under, or nothing when it has none.
    std::optional<std::string> arrivedKey(host::Item& mail);
    // Reports "labelShift:" and returns "" when the value is not a date.
    std::string dateTimeText(const host::Variant& date);

    std::string attachedId(const std::string& key);

    // Runs body as one transaction level; the outermost level also settles the file changes.
    template <typename Body> auto inOperation(Body&& body);

    // The folder that holds the next contents of a mail key's folder until the rows commit.
    std::filesystem::path pendingFolder(const std::string& mailKey) const;
    // An empty pending folder that replaces the folder when the operation commits.
    void stageFolder(const std::filesystem::path& pending, const std::filesystem::path& folder);

    StoreContext& state_;
    FileSteps files_;
    FileChangeJournal journal_;
    int depth_ = 0;
    SubstituteKeys keys_;
};

} // namespace velmora
