// The host on the user's real mail. Items live in the in-memory model; this keeper writes each
// change to its file before the model makes it, and reads other programs' changes from inotify.
#include "platform/mailbox/MailboxHost.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryFolder.h"
#include "platform/host/InMemoryHost.h"
#include "platform/host/InMemoryItem.h"
#include "platform/host/InMemoryItems.h"
#include "platform/host/PropertyCatalog.h"
#include "platform/log/Log.h"
#include "platform/mailbox/CalendarFile.h"
#include "platform/mailbox/ContactCard.h"
#include "platform/mailbox/ItemFiles.h"
#include "platform/mailbox/ItemMapping.h"
#include "platform/mailbox/ItemState.h"
#include "platform/mailbox/MailFile.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace velmora::mailbox {

namespace fs = std::filesystem;
using namespace velmora::host;

namespace {

// The provider part every entry ID of this host starts with, as the host's own IDs do.
constexpr const char* kEntryIdPrefix = "000000001A447390AA6611CD9BC800AA002FC45A07";

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// The entry ID of an item of this kind kept under this key (a unique name or a UID).
std::string entryIdFor(int itemType, std::string_view key) {
    return kEntryIdPrefix + hex(std::string(1, static_cast<char>('0' + itemType))) + hex(key);
}

// The folders every mailbox has, by their names on disk.
struct DefaultPlace {
    int folderType;
    const char* maildirPath; // null: a directory of item files
    const char* directory;
};
constexpr DefaultPlace kDefaultPlaces[] = {
    {olFolderInbox, "", nullptr},
    {olFolderOutbox, "Outbox", nullptr},
    {olFolderSentMail, "Sent", nullptr},
    {olFolderDeletedItems, "Deleted Items", nullptr},
    {olFolderDrafts, "Drafts", nullptr},
    {olFolderCalendar, nullptr, "Calendar"},
    {olFolderContacts, nullptr, "Contacts"},
    {olFolderTasks, nullptr, "Tasks"},
    {olFolderNotes, nullptr, "Notes"},
    {olFolderJournal, nullptr, "Journal"},
};

// A file name of an item: hidden files (a writer's temporary) and other kinds are not.
bool isItemFile(std::string_view name) {
    if (name.empty() || name[0] == '.' || name.size() < 5) return false;
    const auto ext = name.substr(name.size() - 4);
    return ext == ".ics" || ext == ".vcf" || ext == ".eml";
}

// What an item file was when the host last saw it: a file rewritten in place changes it.
std::string stampOf(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return "gone";
    return std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + ":" +
           std::to_string(st.st_size);
}

std::string extensionFor(int itemType) {
    if (itemType == olContactItem) return ".vcf";
    if (itemType == olMailItem || itemType == olPostItem) return ".eml";
    return ".ics";
}

// A UID as a file name: kept when it is plain, else its hex.
std::string fileStem(const std::string& uid) {
    const bool plain = !uid.empty() && uid.size() < 120 && uid[0] != '.' &&
                       uid.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                             "0123456789@._-+") == std::string::npos;
    return plain ? uid : hex(uid).substr(0, 200);
}

// Runs the body, turning what the files raise into the host's error, which names the file.
template <typename Body> auto asHostError(Body&& body) {
    try {
        return body();
    } catch (const HostError&) {
        throw;
    } catch (const std::exception& e) {
        throw HostError(e.what());
    }
}

} // namespace

MailboxHost::MailboxHost(InMemoryHost& host, fs::path root, std::string sendCommand)
    : core_(host.core()), root_(std::move(root)), sendCommand_(std::move(sendCommand)),
      maildir_((fs::create_directories(root_), root_ / "Mail")),
      index_(root_ / ".velmora-host.db") {
    const auto start = std::chrono::steady_clock::now();
    folderKinds_ = index_.folderKinds();
    mapFolders();
    std::vector<std::string> names;
    for (const auto& place : places_) {
        listPlace(*place);
        names.push_back(place->name);
        if (place->maildir) {
            watch_.watch(place->dir / "cur");
            watch_.watch(place->dir / "new");
        }
        watch_.watch(place->dir);
    }
    // Rows of folders that went while the host was closed name items that are gone.
    index_.keepOnlyPlaces(names);
    // Only now, when nothing can fail any more, do the folders come to depend on this keeper.
    for (const auto& place : places_)
        place->folder->items()->loadWith([this, at = place.get()] { loadPlace(*at); });
    core_->setKeeper(this);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    log::info("mailbox", "opened " + root_.string() + ": " + std::to_string(opening_.listed) +
                             " files in " + std::to_string(places_.size()) + " folders, " +
                             std::to_string(took.count()) + " ms");
}

MailboxHost::~MailboxHost() {
    // The host may outlive its mailbox: its folders not read yet stay empty from now on.
    for (const auto& place : places_)
        place->folder->items()->loadWith(nullptr);
    if (core_->keeper() == this) core_->setKeeper(nullptr);
}

void MailboxHost::report(const std::string& message) {
    log::warn("mailbox", message);
    problems_.push_back(message);
}

std::vector<std::string> MailboxHost::takeProblems() {
    return std::exchange(problems_, {});
}

MailboxHost::Place& MailboxHost::addPlace(const std::shared_ptr<InMemoryFolder>& folder,
                                          bool maildir, const std::string& maildirPath,
                                          const fs::path& dir) {
    auto place = std::make_unique<Place>();
    place->maildir = maildir;
    place->maildirPath = maildirPath;
    place->dir = dir;
    place->folder = folder;
    place->name =
        maildir ? "mail:" + maildirPath : "dir:" + fs::relative(dir, root_).generic_string();
    placeByFolder_[folder.get()] = place.get();
    places_.push_back(std::move(place));
    return *places_.back();
}

void MailboxHost::mapFolders() {
    for (const auto& d : kDefaultPlaces) {
        auto folder = core_->defaultFolder(d.folderType);
        if (d.maildirPath) {
            const fs::path dir =
                *d.maildirPath ? maildir_.createFolder(d.maildirPath) : maildir_.root();
            addPlace(folder, true, d.maildirPath, dir);
        } else {
            fs::create_directories(root_ / d.directory);
            addPlace(folder, false, "", root_ / d.directory);
        }
    }
    for (const std::string& path : maildir_.folders())
        ensureMailFolder(path);
    // Directories below the item folders, and item folders of the user's own beside them.
    for (const auto& d : kDefaultPlaces)
        if (d.directory) mapDirectories(core_->defaultFolder(d.folderType), root_ / d.directory);
    auto storeRoot = core_->storeRoots().front();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root_, ec)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_directory() || name.empty() || name[0] == '.' || name == "Mail") continue;
        bool isDefault = false;
        for (const auto& d : kDefaultPlaces)
            isDefault = isDefault || (d.directory && name == d.directory);
        if (isDefault) continue;
        const auto kind = folderKinds_.find("dir:" + name);
        auto folder = storeRoot->addChild(name, kind == folderKinds_.end() ? olAppointmentItem
                                                                           : kind->second);
        addPlace(folder, false, "", entry.path());
        mapDirectories(folder, entry.path());
    }
}

std::shared_ptr<InMemoryFolder> MailboxHost::ensureMailFolder(const std::string& path) {
    for (const auto& place : places_)
        if (place->maildir && place->maildirPath == path) return place->folder;
    const auto slash = path.rfind('/');
    std::shared_ptr<InMemoryFolder> parent;
    if (slash == std::string::npos) {
        parent = core_->storeRoots().front();
    } else {
        const std::string above = path.substr(0, slash);
        parent = above == "Inbox" ? core_->defaultFolder(olFolderInbox) : ensureMailFolder(above);
    }
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto kind = folderKinds_.find("mail:" + path);
    auto folder = parent->addChild(name, kind == folderKinds_.end() ? olMailItem : kind->second);
    addPlace(folder, true, path, maildir_.createFolder(path));
    return folder;
}

void MailboxHost::mapDirectories(const std::shared_ptr<InMemoryFolder>& folder,
                                 const fs::path& dir) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string child = entry.path().filename().string();
        if (!entry.is_directory() || child.empty() || child[0] == '.') continue;
        const std::string relative = fs::relative(entry.path(), root_).generic_string();
        const auto kind = folderKinds_.find("dir:" + relative);
        auto sub =
            folder->addChild(child, kind == folderKinds_.end() ? folder->itemType() : kind->second);
        addPlace(sub, false, "", entry.path());
        mapDirectories(sub, entry.path());
    }
}

void MailboxHost::listPlace(Place& place) {
    if (place.maildir) place.pendingMessages = maildir_.messages(place.maildirPath, false);
    // readdir, as Maildir lists messages: a path per file costs more than the listing.
    if (DIR* stream = ::opendir(place.dir.c_str())) {
        while (const dirent* entry = ::readdir(stream))
            if (isItemFile(entry->d_name) && entry->d_type != DT_DIR)
                place.pendingFiles.emplace_back(entry->d_name);
        ::closedir(stream);
    }
    opening_.listed += place.pendingMessages.size() + place.pendingFiles.size();
}

void MailboxHost::loadPlace(Place& place) {
    // The files listed and the index's rows, both in name order, are walked side by side.
    struct Listed {
        std::string name;
        const MaildirMessage* message; // null for an item file
        const std::string* file;
    };
    const auto messages = std::exchange(place.pendingMessages, {});
    const auto files = std::exchange(place.pendingFiles, {});
    std::vector<Listed> listed;
    listed.reserve(messages.size() + files.size());
    for (const MaildirMessage& m : messages)
        listed.push_back(Listed{m.unique, &m, nullptr});
    for (const std::string& file : files)
        listed.push_back(Listed{file, nullptr, &file});
    std::sort(listed.begin(), listed.end(),
              [](const Listed& a, const Listed& b) { return a.name < b.name; });
    // The maps grow once for the whole folder rather than rehashing as its items come.
    core_->reserveIndex(listed.size());
    locations_.reserve(locations_.size() + listed.size());
    byFile_.reserve(byFile_.size() + listed.size());
    index_.begin();
    try {
        const std::vector<IndexRow> rows = index_.rowsOf(place.name);
        auto row = rows.begin();
        // Rows whose files went while the host was closed name items that are gone; an item
        // stored here since the opening is not among the files listed then.
        const auto dropGone = [this](const IndexRow& gone) {
            if (!locations_.count(gone.entryId)) index_.erase(gone.entryId);
        };
        for (const Listed& one : listed) {
            for (; row != rows.end() && row->file < one.name; ++row)
                dropGone(*row);
            const IndexRow* match = row != rows.end() && row->file == one.name ? &*row++ : nullptr;
            if (one.message)
                readMessage(place, *one.message, match);
            else
                readItemFile(place, place.dir / *one.file, match, nullptr);
        }
        for (; row != rows.end(); ++row)
            dropGone(*row);
        index_.commit();
    } catch (const std::exception& e) {
        // The items read stay; the index catches up at the next opening.
        index_.rollback();
        report(e.what());
    }
}

void MailboxHost::loadAll() {
    if (loadingAll_) return;
    loadingAll_ = true;
    try {
        for (const auto& place : places_)
            place->folder->items()->members();
    } catch (...) {
        loadingAll_ = false;
        throw;
    }
    loadingAll_ = false;
}

std::shared_ptr<InMemoryItem> MailboxHost::readMessage(const Place& place, const MaildirMessage& m,
                                                       const IndexRow* row) {
    const auto restored = row ? itemTypeOfState(row->state) : std::nullopt;
    auto item = std::make_shared<InMemoryItem>(core_, restored ? *restored : olMailItem);
    if (restored) {
        try {
            restoreItemState(*item, row->state);
            // Other clients change only the flags of a message they did not write.
            item->put(pUnRead, m.flags.find('S') == std::string::npos &&
                                   m.flags.find('D') == std::string::npos);
            item->markPartial();
            ++opening_.fromIndex;
            adopt(item, place, messageLocation(place, m), row->entryId);
            return item;
        } catch (const std::runtime_error&) {
            item = std::make_shared<InMemoryItem>(core_, olMailItem);
        }
    }
    const fs::path file = m.file.empty() ? place.dir / m.relative() : m.file;
    try {
        const MailRead read = MailFile::read(file, ReadMode::Headers);
        if (!read.problems.empty()) report(describeProblems(file, read.problems));
        mailIntoItem(read.mail, m.flags, false, *item);
        item->put(pSize, static_cast<long>(read.size));
    } catch (const std::exception& e) {
        ++opening_.skipped;
        report(e.what());
        return nullptr;
    }
    ++opening_.parsed;
    const std::string entryId = entryIdFor(olMailItem, m.unique);
    adopt(item, place, messageLocation(place, m), entryId);
    keepRow(*item, entryId);
    return item;
}

namespace {

// What the index kept of an item whose file is read again; a row of another version or a
// damaged one is dropped, and the file alone makes the item.
void keepWhatNoFileHolds(InMemoryItem& item, const IndexRow& row) {
    try {
        restoreItemState(item, row.state);
    } catch (const std::runtime_error&) {
        // the file's values follow all the same
    }
}

} // namespace

std::shared_ptr<InMemoryItem> MailboxHost::readItemFile(const Place& place, const fs::path& file,
                                                        const IndexRow* row,
                                                        const std::shared_ptr<InMemoryItem>& into) {
    const std::string stamp = stampOf(file);
    const std::string name = file.filename().string();
    // The item as the index kept it, under the stamp the index has (so that a changed file is
    // read again at the next opening); null when the row is not a state this host can read.
    const auto fromRow = [&]() -> std::shared_ptr<InMemoryItem> {
        const auto type = itemTypeOfState(row->state);
        if (!type) return nullptr;
        auto item = std::make_shared<InMemoryItem>(core_, *type);
        try {
            restoreItemState(*item, row->state);
        } catch (const std::runtime_error&) {
            return nullptr;
        }
        if (*type == olMailItem || *type == olPostItem) item->markPartial();
        ++opening_.fromIndex;
        adopt(item, place, Location{&place, name, row->stamp, "", false}, row->entryId);
        return item;
    };
    if (row && !into && row->stamp == stamp)
        if (auto item = fromRow()) return item;
    std::shared_ptr<InMemoryItem> item = into;
    std::string uid;
    try {
        const auto ext = file.extension();
        if (ext == ".vcf") {
            const ContactData card = ContactCard::read(file);
            if (!card.problem.empty()) report(card.problem);
            if (!item) item = std::make_shared<InMemoryItem>(core_, olContactItem);
            if (row && !into) keepWhatNoFileHolds(*item, *row);
            contactIntoItem(card, *item);
            uid = card.uid;
        } else if (ext == ".ics") {
            const CalendarData data = CalendarFile::read(file);
            if (data.items.empty())
                throw ItemFileError(
                    (data.problem.empty() ? "Calendar file " + file.string() : data.problem) +
                    (data.problem.empty() ? " holds" : "; it holds") + " no event, task or note");
            if (!data.problem.empty()) report(data.problem);
            const CalendarItem& entry = data.items.front();
            if (!item)
                item = std::make_shared<InMemoryItem>(
                    core_, itemTypeOfCalendar(entry.kind, place.folder->itemType()));
            if (row && !into) keepWhatNoFileHolds(*item, *row);
            calendarIntoItem(entry, *item);
            uid = entry.uid;
        } else {
            const MailRead read = MailFile::read(file, ReadMode::Headers);
            if (!read.problems.empty()) report(describeProblems(file, read.problems));
            if (!item) item = std::make_shared<InMemoryItem>(core_, olMailItem);
            mailIntoItem(read.mail, "S", false, *item);
        }
    } catch (const std::exception& e) {
        // A file spoilt since it was last read keeps its item as it was, and with it the links
        // the add-in keeps for it.
        if (row && !into) {
            if (auto kept = fromRow()) {
                report(std::string(e.what()) + "; the item is shown as it was last read");
                return kept;
            }
        }
        ++opening_.skipped;
        report(e.what());
        return nullptr;
    }
    ++opening_.parsed;
    if (into) return item;
    std::string entryId =
        row ? row->entryId : entryIdFor(item->itemType(), uid.empty() ? name : uid);
    // A copy of an item under the same UID in another file gets an ID of its own file.
    if (locations_.count(entryId)) entryId = entryIdFor(item->itemType(), place.name + "/" + name);
    adopt(item, place, Location{&place, name, stamp, "", false}, entryId);
    keepRow(*item, entryId);
    return item;
}

void MailboxHost::adopt(const std::shared_ptr<InMemoryItem>& item, const Place& place,
                        Location location, const std::string& entryId) {
    item->setEntryId(entryId);
    item->setHome(place.folder);
    place.folder->items()->insert(item);
    core_->index(item);
    byFile_[MailboxIndex::key(place.name, location.file)] = entryId;
    locations_[entryId] = std::move(location);
    ++opening_.items;
}

void MailboxHost::forget(const std::string& entryId) {
    const auto it = locations_.find(entryId);
    if (it == locations_.end()) return;
    byFile_.erase(MailboxIndex::key(it->second.place->name, it->second.file));
    locations_.erase(it);
}

void MailboxHost::keepRow(const InMemoryItem& item, const std::string& entryId) {
    const auto it = locations_.find(entryId);
    if (it == locations_.end()) return;
    index_.put(IndexRow{entryId, it->second.place->name, it->second.file, it->second.stamp,
                        saveItemState(item)});
}

const MailboxHost::Place* MailboxHost::placeOf(const InMemoryFolder& folder) const {
    const auto it = placeByFolder_.find(&folder);
    return it == placeByFolder_.end() ? nullptr : it->second;
}

MailboxHost::Location MailboxHost::writeNew(InMemoryItem& item, const Place& place) {
    const int type = item.itemType();
    if ((type == olMailItem || type == olPostItem) && place.maildir) {
        const std::string bytes = mailBytes(item);
        const MaildirMessage m = maildir_.add(place.maildirPath, bytes, mailFlagsOf(item));
        item.put(pSize, static_cast<long>(bytes.size()));
        return messageLocation(place, m);
    }
    const std::string uid = freshUid();
    const fs::path file = place.dir / (fileStem(uid) + extensionFor(type));
    if (type == olContactItem) {
        ContactData card;
        card.uid = uid;
        contactOfItem(item, card);
        ContactCard::write(file, card);
    } else if (type == olMailItem || type == olPostItem) {
        writeItemFile(file, mailBytes(item), "mail");
    } else {
        CalendarItem entry;
        entry.uid = uid;
        calendarOfItem(item, entry);
        CalendarFile::write(file, CalendarData{{entry}, {}, ""});
    }
    return Location{&place, file.filename().string(), stampOf(file), "", false};
}

void MailboxHost::rewriteFile(InMemoryItem& item, Location& location) {
    const Place& place = *location.place;
    const int type = item.itemType();
    if (location.stamp.empty()) {
        const auto m = messageOf(location);
        if (!m)
            throw MailboxError("Mail file " + location.file + " in " + place.dir.string() +
                               " is gone; another program removed it");
        if (const auto bytes = changedMailBytes(item, m->file))
            maildir_.replace(place.maildirPath, *m, *bytes);
        if (m->flags != mailFlagsOf(item) || m->isNew)
            location =
                messageLocation(place, maildir_.setFlags(place.maildirPath, *m, mailFlagsOf(item)));
        return;
    }
    const fs::path file = place.dir / location.file;
    if (type == olContactItem) {
        ContactData card = ContactCard::read(file);
        contactOfItem(item, card);
        ContactCard::write(file, card);
    } else if (type == olMailItem || type == olPostItem) {
        if (const auto bytes = changedMailBytes(item, file)) writeItemFile(file, *bytes, "mail");
    } else {
        CalendarData data = CalendarFile::read(file);
        if (data.items.empty()) data.items.emplace_back();
        calendarOfItem(item, data.items.front());
        data.problem.clear();
        CalendarFile::write(file, data);
    }
    location.stamp = stampOf(file);
}

std::string MailboxHost::freshUid() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(now).count()) +
           "." + std::to_string(::getpid()) + "." + std::to_string(++uidCounter_) + "@velmora";
}

std::string MailboxHost::mailBytes(const InMemoryItem& item, const std::string& messageId) {
    MailMessage mail = mailOfItem(item);
    mail.messageId = messageId;
    // A mail leaving the host gets a Message-ID, which replies and synchronisers go by.
    if (mail.sentOn && mail.messageId.empty()) mail.messageId = freshUid();
    return MailFile::format(mail);
}

std::optional<std::string> MailboxHost::changedMailBytes(const InMemoryItem& item,
                                                         const fs::path& file) {
    // A mail whose parts were never read was not changed in them: Set reads them first.
    if (item.partial()) return std::nullopt;
    const MailMessage was = MailFile::read(file, ReadMode::Full).mail;
    const MailMessage now = mailOfItem(item);
    const auto sameRecipients = [](const auto& a, const auto& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
            return x.address == y.address && x.type == y.type;
        });
    };
    const auto sameAttachments = [](const auto& a, const auto& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
            return x.displayName == y.displayName && x.content == y.content;
        });
    };
    // Only what the user changed in the mail rewrites it; links and categories are the index's.
    if (now.subject == was.subject && now.senderName == was.senderName &&
        now.senderAddress == was.senderAddress && now.body == was.body &&
        now.htmlBody == was.htmlBody && now.importance == was.importance &&
        sameRecipients(now.recipients, was.recipients) &&
        sameAttachments(now.attachments, was.attachments))
        return std::nullopt;
    return mailBytes(item, was.messageId);
}

void MailboxHost::deliver(InMemoryItem& item) {
    if (sendCommand_.empty()) return;
    const std::string bytes = mailBytes(item);
    FILE* pipe = ::popen(sendCommand_.c_str(), "w");
    if (!pipe) throw HostError("Cannot start the send command \"" + sendCommand_ + "\"");
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), pipe) == bytes.size();
    const int status = ::pclose(pipe);
    if (!written || status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw HostError("The mail \"" + std::get<std::string>(item.field(pSubject)) +
                        "\" was not sent: the send command \"" + sendCommand_ + "\" failed" +
                        (WIFEXITED(status) ? " with status " + std::to_string(WEXITSTATUS(status))
                                           : std::string()) +
                        "; it waits in the Outbox");
}

std::string MailboxHost::stored(InMemoryItem& item, InMemoryFolder& folder,
                                const std::string& fromEntryId) {
    const Place* target = placeOf(folder);
    const auto from = locations_.find(fromEntryId);
    if (!target) {
        // A store added later lives in memory; an item leaving the mailbox for it leaves its file.
        if (from != locations_.end()) removed(item);
        return core_->newEntryId();
    }
    return asHostError([&] {
        const int type = item.itemType();
        const bool isMail = type == olMailItem || type == olPostItem;
        Location location;
        if (from != locations_.end() && from->second.stamp.empty() && target->maildir && isMail) {
            const Place& source = *from->second.place;
            const auto m = messageOf(from->second);
            if (!m)
                throw MailboxError("Mail file " + from->second.file + " in " + source.dir.string() +
                                   " is gone; another program removed it");
            const bool delivery = source.folder == core_->defaultFolder(olFolderOutbox) &&
                                  target->folder == core_->defaultFolder(olFolderSentMail);
            if (delivery || !std::get<bool>(item.field(pSent))) {
                // A mail of the user's own is written anew: delivery gives it its date and sender.
                if (delivery) deliver(item);
                location = writeNew(item, *target);
                maildir_.remove(source.maildirPath, *m);
            } else {
                location = messageLocation(
                    *target, maildir_.move(source.maildirPath, *m, target->maildirPath));
            }
        } else {
            if (item.partial()) complete(item);
            location = writeNew(item, *target);
            if (from != locations_.end()) {
                Location& old = from->second;
                if (old.stamp.empty()) {
                    if (const auto m = messageOf(old)) maildir_.remove(old.place->maildirPath, *m);
                } else {
                    fs::remove(old.place->dir / old.file);
                }
            }
        }
        const std::string key =
            location.stamp.empty() ? location.file : fs::path(location.file).stem().string();
        // A message is named as a mail whatever its kind, as reading the file alone names it.
        std::string entryId = entryIdFor(location.stamp.empty() ? olMailItem : type, key);
        if (from != locations_.end()) {
            index_.erase(fromEntryId);
            forget(fromEntryId);
        }
        byFile_[MailboxIndex::key(target->name, location.file)] = entryId;
        locations_[entryId] = std::move(location);
        keepRow(item, entryId);
        return entryId;
    });
}

void MailboxHost::saved(InMemoryItem& item) {
    const std::string entryId = std::get<std::string>(item.field(pEntryID));
    const auto it = locations_.find(entryId);
    if (it == locations_.end()) return;
    asHostError([&] {
        rewriteFile(item, it->second);
        keepRow(item, entryId);
    });
}

void MailboxHost::removed(InMemoryItem& item) {
    const std::string entryId = std::get<std::string>(item.field(pEntryID));
    const auto it = locations_.find(entryId);
    if (it == locations_.end()) return;
    asHostError([&] {
        Location& location = it->second;
        if (location.stamp.empty()) {
            if (const auto m = messageOf(location))
                maildir_.remove(location.place->maildirPath, *m);
        } else {
            std::error_code ec;
            fs::remove(location.place->dir / location.file, ec);
            if (ec)
                throw MailboxError("Cannot remove " +
                                   (location.place->dir / location.file).string() + ": " +
                                   ec.message());
        }
        index_.erase(entryId);
        forget(entryId);
    });
}

void MailboxHost::folderAdded(InMemoryFolder& folder) {
    auto parent = folder.parentFolder();
    const Place* above = parent ? placeOf(*parent) : nullptr;
    const bool defaultRoot = parent && parent == core_->storeRoots().front();
    if (!above && !defaultRoot) return; // a folder of another store
    const std::string& name = folder.name();
    if (name.find('/') != std::string::npos || name == "." || name == "..")
        throw HostError("Cannot add folder \"" + name +
                        "\": a mailbox folder's name cannot hold /");
    asHostError([&] {
        auto self = std::static_pointer_cast<InMemoryFolder>(folder.shared_from_this());
        const Place* place = nullptr;
        if (above && above->maildir) {
            const std::string path =
                (above->maildirPath.empty() ? std::string("Inbox") : above->maildirPath) + "/" +
                name;
            place = &addPlace(self, true, path, maildir_.createFolder(path));
        } else if (above) {
            fs::create_directories(above->dir / name);
            place = &addPlace(self, false, "", above->dir / name);
        } else if (folder.itemType() == olMailItem || folder.itemType() == olPostItem) {
            place = &addPlace(self, true, name, maildir_.createFolder(name));
        } else {
            fs::create_directories(root_ / name);
            place = &addPlace(self, false, "", root_ / name);
        }
        index_.putFolderKind(place->name, folder.itemType());
        if (place->maildir) {
            watch_.watch(place->dir / "cur");
            watch_.watch(place->dir / "new");
        }
        watch_.watch(place->dir);
    });
}

void MailboxHost::complete(InMemoryItem& item) {
    const std::string& entryId = std::get<std::string>(item.field(pEntryID));
    const auto it = locations_.find(entryId);
    if (it == locations_.end()) return;
    Location& location = it->second;
    fs::path file = location.place->dir / location.file;
    if (location.stamp.empty()) {
        const auto m = messageOf(location);
        if (!m) {
            report("Mail file " + location.file + " in " + location.place->dir.string() +
                   " is gone; its body cannot be read");
            return;
        }
        file = m->file;
    }
    try {
        const MailRead read = MailFile::read(file, ReadMode::Full);
        if (!read.problems.empty()) report(describeProblems(file, read.problems));
        mailContentIntoItem(read.mail, item);
    } catch (const std::exception& e) {
        report(e.what());
    }
}

std::optional<MailboxHost::FolderFiles> MailboxHost::filesOf(const Folder& folder) const {
    const auto* own = dynamic_cast<const InMemoryFolder*>(&folder);
    const Place* place = own ? placeOf(*own) : nullptr;
    if (!place) return std::nullopt;
    return FolderFiles{place->dir, place->maildir};
}

const MailboxHost::Place* MailboxHost::placeOfDirectory(const fs::path& dir) const {
    for (const auto& place : places_)
        if (place->dir == dir) return place.get();
    return nullptr;
}

std::optional<MaildirMessage> MailboxHost::messageOf(Location& location) {
    MaildirMessage seen;
    seen.unique = location.file;
    seen.flags = location.flags;
    seen.isNew = location.isNew;
    auto now = maildir_.locate(location.place->maildirPath, seen);
    if (now) {
        location.flags = now->flags;
        location.isNew = now->isNew;
    }
    return now;
}

MailboxHost::Location MailboxHost::messageLocation(const Place& place,
                                                   const MaildirMessage& m) const {
    return Location{&place, m.unique, "", m.flags, m.isNew};
}

int MailboxHost::poll() {
    int changed = 0;
    std::vector<FolderChange> removals;
    for (FolderChange& change : watch_.changes()) {
        if (change.kind == FolderChange::Kind::Removed)
            removals.push_back(std::move(change));
        else
            takeChange(change, changed);
    }
    takeRemovals(removals, changed);
    return changed;
}

void MailboxHost::dropItem(const Place& place, const std::string& entryId) {
    if (auto item = core_->lookup(entryId)) place.folder->items()->remove(item.get());
    core_->unindex(entryId);
    index_.erase(entryId);
    forget(entryId);
}

void MailboxHost::takeRemovals(const std::vector<FolderChange>& removals, int& changed) {
    for (const FolderChange& change : removals) {
        const fs::path dir = change.file.parent_path();
        const std::string leaf = dir.filename().string();
        const bool message = leaf == "cur" || leaf == "new";
        const Place* place = placeOfDirectory(message ? dir.parent_path() : dir);
        if (!place || (message && !place->maildir)) continue;
        const std::string name = change.file.filename().string();
        const std::string file = message ? Maildir::parseFileName(name).unique : name;
        const auto known = byFile_.find(MailboxIndex::key(place->name, file));
        if (known == byFile_.end()) continue; // never read, or already gone
        const std::string entryId = known->second;
        auto& location = locations_.at(entryId);
        // A message renamed for its flags was seen under its new name already.
        const bool stillThere =
            message ? messageOf(location).has_value() : ::access(change.file.c_str(), F_OK) == 0;
        if (stillThere) continue;
        dropItem(*place, entryId);
        ++changed;
    }
}

void MailboxHost::takeChange(const FolderChange& change, int& changed) {
    const fs::path dir = change.file.parent_path();
    const std::string leaf = dir.filename().string();
    const Place* place = nullptr;
    const bool message = leaf == "cur" || leaf == "new";
    if (message) {
        place = placeOfDirectory(dir.parent_path());
        if (place && !place->maildir) place = nullptr;
    } else if (isItemFile(change.file.filename().string())) {
        place = placeOfDirectory(dir);
    }
    if (!place || ::access(change.file.c_str(), F_OK) != 0) return;
    // A folder not read yet is read first, so that the change applies to what it held.
    place->folder->items()->members();
    const std::string name = change.file.filename().string();
    MaildirMessage arrived = Maildir::parseFileName(name);
    arrived.isNew = leaf == "new";
    arrived.file = change.file;
    const std::string file = message ? arrived.unique : name;
    const auto known = byFile_.find(MailboxIndex::key(place->name, file));
    const std::string entryId = known == byFile_.end() ? std::string() : known->second;
    auto item = entryId.empty() ? nullptr : core_->lookup(entryId);
    const auto location = locations_.find(entryId);

    if (message) {
        if (item && location != locations_.end()) {
            location->second = messageLocation(*place, arrived);
            const bool unread = arrived.flags.find('S') == std::string::npos &&
                                arrived.flags.find('D') == std::string::npos;
            if (std::get<bool>(item->field(pUnRead)) == unread) return;
            item->put(pUnRead, unread);
            keepRow(*item, entryId);
            place->folder->items()->touch();
            ++changed;
            core_->raise(place->folder->items()->ItemChange(),
                         std::static_pointer_cast<Item>(item));
            return;
        }
        if (auto added = readMessage(*place, arrived, nullptr)) {
            ++changed;
            core_->raise(place->folder->items()->ItemAdd(), std::static_pointer_cast<Item>(added));
        }
        return;
    }
    if (item && location != locations_.end()) {
        const std::string stamp = stampOf(change.file);
        if (location->second.stamp == stamp) return; // the host's own write
        if (!readItemFile(*place, change.file, nullptr, item)) return;
        location->second.stamp = stamp;
        keepRow(*item, entryId);
        place->folder->items()->touch();
        ++changed;
        core_->raise(place->folder->items()->ItemChange(), std::static_pointer_cast<Item>(item));
        return;
    }
    if (auto added = readItemFile(*place, change.file, nullptr, nullptr)) {
        ++changed;
        core_->raise(place->folder->items()->ItemAdd(), std::static_pointer_cast<Item>(added));
    }
}

} // namespace velmora::mailbox
