// One Maildir++ tree of mail folders on disk: the Inbox at its root, every other folder a
// ".Name" sibling below it; messages are files, written to tmp/ and renamed into place.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::mailbox {

// A folder or message that cannot be read or written; the description names the path.
class MailboxError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One message file as the folder holds it now. The unique name stays the same when another
// program changes the message's flags (which renames the file), so it is what names the mail.
struct MaildirMessage {
    std::string unique;
    std::string flags; // the letters after ":2," in name order (D F P R S T); empty in new/
    std::filesystem::path file;
    bool isNew = false; // still in new/: no client has seen it yet
    // The file below its folder ("cur/NAME" or "new/NAME").
    std::string relative() const;
};

// The tree below `root` (DIR/Mail). Folder paths are the names the user sees, joined by "/"
// ("" or "Inbox" is the root, "Projects/2026" a nested folder); on disk they are the Maildir++
// names (".Projects.2026"), with "." and "%" in a name written as %2E and %25.
//
// Thread-compatible: one instance per thread; other programs may change the tree at any time,
// which every call expects (a file listed a moment ago may be gone or renamed).
class Maildir {
  public:
    // Creates root and its cur/, new/, tmp/ when missing.
    explicit Maildir(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }

    // Every folder but the Inbox, as user paths, in name order.
    std::vector<std::string> folders() const;
    // Makes the folder (and its cur/, new/, tmp/) when missing; returns its directory.
    std::filesystem::path createFolder(std::string_view folder);
    // The folder's directory; raises MailboxError when it does not exist.
    std::filesystem::path folderPath(std::string_view folder) const;

    // The messages of a folder, in unique-name order. Without paths, `file` stays empty: a
    // path costs more than reading the name, which matters in a folder of many thousands.
    std::vector<MaildirMessage> messages(std::string_view folder, bool withPaths = true) const;
    // The message as it is in the folder now: where `seen` says when no one renamed it since,
    // else wherever another client's flag change put it; nothing when it is gone.
    std::optional<MaildirMessage> locate(std::string_view folder, const MaildirMessage& seen) const;
    // The message with this unique name, wherever its flags have put it now.
    std::optional<MaildirMessage> find(std::string_view folder, std::string_view unique) const;

    // Writes the bytes to tmp/ under a fresh unique name, flushes them, then renames the file
    // into cur/ with the given flags (or into new/ when isNew): a reader never sees half a file.
    MaildirMessage add(std::string_view folder, std::string_view bytes, std::string_view flags,
                       bool isNew = false);
    // Replaces a message's content in place: same unique name, written through tmp/.
    MaildirMessage replace(std::string_view folder, const MaildirMessage& message,
                           std::string_view bytes);
    // Renames the message to carry these flags; its unique name stays.
    MaildirMessage setFlags(std::string_view folder, const MaildirMessage& message,
                            std::string_view flags);
    // Moves a message to another folder under a new unique name, as a delivered copy.
    MaildirMessage move(std::string_view from, const MaildirMessage& message, std::string_view to);
    // Removes the message file, wherever its flags have put it; one already gone is no error.
    void remove(std::string_view folder, const MaildirMessage& message);

    // The Maildir++ directory name of a user folder path ("Projects/2026" -> ".Projects.2026").
    static std::string directoryName(std::string_view folder);
    // The user folder path of a Maildir++ directory name, or nothing when it is not one.
    static std::optional<std::string> folderName(std::string_view directory);
    // A message file name read back: unique name, flags, and whether it carried ":2,".
    static MaildirMessage parseFileName(std::string_view fileName);

  private:
    // The message as it is on disk now; raises MailboxError when it is gone.
    MaildirMessage present(std::string_view folder, const MaildirMessage& message) const;
    std::string freshUnique();
    MaildirMessage place(const std::filesystem::path& folderDir, const std::string& unique,
                         std::string_view bytes, std::string_view flags, bool isNew);

    std::filesystem::path root_;
    unsigned long counter_ = 0;
};

} // namespace velmora::mailbox
