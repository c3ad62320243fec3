// The project's own sample mailbox for demonstrations, and large generated mailboxes for
// benchmarks, both written under one root folder by the mailbox's own file writers.
//
// Layout under root: Mail/ (Maildir++), Contacts/*.vcf, Calendar/*.ics, Tasks/*.ics,
// Notes/*.ics, Journal/*.ics; each .vcf and .ics is named by its item's UID. Folders are made
// when missing and a file of the same name is replaced; a second sample run adds a second copy
// of every mail, since Maildir names each message afresh. A folder or file that cannot be
// written raises MailboxError or ItemFileError naming it.
#pragma once

#include <filesystem>

namespace velmora::mailbox {

// Writes the fixed sample: about 36 mails in Inbox, "Inbox/Projects", Sent and Drafts, 12
// contacts, 8 appointments, 4 tasks, 4 notes and 2 journal entries, in English and Chinese.
void writeSampleMailbox(const std::filesystem::path& root);

struct BenchMailboxSize {
    int mails;
    int contacts;
    int appointments;
};

// Writes a large generated mailbox: the mails spread over Inbox and a few folders with
// realistic headers and short bodies, senders that are among the contacts, and appointments
// over two years, some of them recurring. The same size gives the same items. The mails go
// straight into cur/ and new/ without the flush Maildir::add makes, which would take most of
// the time: a benchmark mailbox cut short by a crash is written again.
void writeBenchMailbox(const std::filesystem::path& root, BenchMailboxSize size);

} // namespace velmora::mailbox
