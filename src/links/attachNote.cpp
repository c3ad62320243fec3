// The note link engine. Contact links are rebuilt on every relink: the user's own and all
// shared rows are marked deleted, then the current contacts' rows are revived or added.
#include "links/attachNote.h"

#include "links/PublicModules.h"
#include "platform/ado/Recordset.h"
#include "platform/controls/ListView.h"
#include "platform/text/QuotedText.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

namespace velmora {

attachNote::attachNote(StoreContext& state) : state_(state) {}

void attachNote::noteToContactForListView(host::Item& noteObj,
                                          const controls::ListView& listViewObj, bool isShareNote) {
    wholeOperation(state_, [&] {
        const auto& rows = listViewObj.ListItems();
        std::vector<std::string> contacts;
        for (int i = 1; i <= rows.Count(); ++i)
            contacts.push_back(rows.Item(i).Key());
        relinkContacts(noteObj, rows.Count(), contacts, isShareNote);
    });
}

void attachNote::noteToContact(host::Item& noteObj, bool isShareNote) {
    wholeOperation(state_, [&] {
        host::Links& links = noteObj.Links();
        const int count = links.Count();
        std::vector<std::string> contacts;
        for (int i = 1; i <= count; ++i) {
            // A linked item that is gone or is no contact (a distribution list) is passed over.
            ignoreErrorsAndUndo(state_, "noteToContact: a linked item", [&] {
                const host::ItemPtr linked = links.Item(i);
                if (linked && linked->Class() == host::olContact)
                    contacts.push_back(linked->EntryID());
            });
        }
        relinkContacts(noteObj, count, contacts, isShareNote);
    });
}

void attachNote::relinkContacts(host::Item& note, int contactCount,
                                const std::vector<std::string>& contactEntryIds, bool isShareNote) {
    const std::string key = note.EntryID();
    const std::string sid = getServerID(state_, kindNote, key);
    ado::Connection& conn = state_.connection();
    conn.Execute(
        "Update notetb set MakeDelete=true where OutlookAttachId=" + text::sqlLiteral(key) +
        " and (creator= " + text::sqlLiteral(state_.currentUser) + " or privateAccess=0)");
    const long liveEvents = countRows(
        state_, "select OutlookEmailID from ToEvent where MakeDelete=False and OutlookEmailID=" +
                    text::sqlLiteral(key));

    if (contactCount < 1) {
        if (liveEvents > 0) {
            conn.Execute("Update ToEvent set Regarding=" + text::sqlLiteral(note.Text("Body")) +
                         " where OutlookEmailID=" + text::sqlLiteral(key));
            updateNoteHistory(note, static_cast<std::int16_t>(liveEvents), sid);
        } else {
            ignoreErrorsAndUndo(state_, "noteToContact: the history row of " + key, [&] {
                conn.Execute("delete from NoteHistory where outlooknoteid=" +
                             text::sqlLiteral(key));
            });
        }
        return;
    }

    int written = 0;
    for (const std::string& contact : contactEntryIds)
        if (updateNoteTb(note, state_.currentUser, contact, sid, isShareNote)) ++written;
    updateNoteHistory(note, static_cast<std::int16_t>(written), sid);
}

void attachNote::noteToEvent(host::Item& noteObj, const std::vector<std::string>& appointmentArray,
                             const std::string& appStoreId) {
    // The outer trap reports a store that cannot start or finish the transaction; the inner one
    // reports a failed step, after which the operation is rolled back whole.
    errorTrap(state_, "AttachNotetoEvent:", [&] {
        wholeOperation(state_, [&] {
            errorTrap(state_, "AttachNotetoEvent:", [&] {
                const std::string key = noteObj.EntryID();
                const std::string sid = getServerID(state_, kindNote, key);
                long links = countRows(
                    state_, "Select OutlookContactID from noteTb where OutlookAttachID= " +
                                text::sqlLiteral(key) + " and makedelete=False and (creator= " +
                                text::sqlLiteral(state_.currentUser) + " or privateAccess=0)");
                host::NameSpace& ns = state_.application().GetNamespace("MAPI");
                // The array's last element is a terminator that listKeyArray leaves empty.
                for (std::size_t i = 0; i + 1 < appointmentArray.size(); ++i) {
                    std::string appointmentId;
                    const bool fetched = ignoreErrors("noteToEvent: an appointment", [&] {
                        const host::ItemPtr item =
                            ns.GetItemFromID(appointmentArray[i], appStoreId);
                        if (!item || item->Class() != host::olAppointment)
                            throw host::HostError("no appointment");
                        appointmentId = item->EntryID();
                    });
                    if (fetched && updateToEvent(noteObj, state_.currentUser, appointmentId, sid))
                        ++links;
                }
                updateNoteHistory(noteObj, static_cast<std::int16_t>(links), sid);
            });
        });
    });
}

bool attachNote::updateNoteTb(host::Item& note, const std::string& loginName,
                              const std::string& contactEntryId, const std::string& noteServerId,
                              bool isShared) {
    static constexpr ContactLinkSpelling spelling{
        "updateNoteTb :", "select * from noteTb where outlookattachId=", " and outlookcontactId=",
        4, "Body"};
    return writeContactLinkRow(state_, spelling, note, contactEntryId, noteServerId, loginName,
                               isShared);
}

bool attachNote::updateToEvent(host::Item& note, const std::string& loginName,
                               const std::string& appointmentEntryId,
                               const std::string& noteServerId) {
    return trappedWrite(state_, "updateToEvent :", [&] {
        const std::string key = note.EntryID();
        ado::Recordset rs;
        openRowOrAdd(state_, rs,
                     "select * from ToEvent where OutlookEmailID=" + text::sqlLiteral(key) +
                         " and OutlookApptID=" + text::sqlLiteral(appointmentEntryId));
        rs.Fields("type") = 4;
        rs.Fields("MakeDelete") = false;
        const std::string body = note.Text("Body");
        if (!body.empty()) rs.Fields("Regarding") = body;
        rs.Fields("DateCreated") = storeValue(note.Get("CreationTime"));
        rs.Fields("Creator") = noteServerId == "-1" ? loginName : serverIdCreator(noteServerId);
        rs.Fields("ContactID") = getServerID(state_, kindAppointment, appointmentEntryId);
        rs.Fields("Attached_ID") = noteServerId;
        rs.Fields("bAttachment") = false;
        rs.Fields("OutlookApptID") = appointmentEntryId;
        rs.Fields("OutlookEmailID") = key;
        rs.Update();
        rs.Close();
    });
}

bool attachNote::updateNoteHistory(host::Item& note, std::int16_t linkCount,
                                   const std::string& noteServerId) {
    return trappedWrite(state_, "updateNoteHistory :", [&] {
        const std::string key = note.EntryID();
        ado::Recordset rs;
        openHistoryRow(state_, rs, "NoteHistory", "outlooknoteid", key);
        rs.Fields("PrivateAccess") = 1;
        // An empty body or category keeps what the history row already holds.
        const std::string body = note.Text("Body");
        if (!body.empty()) rs.Fields("regarding") = body;
        const std::string categories = note.Text("Categories");
        if (!categories.empty()) rs.Fields("category") = categories;
        rs.Fields("RefCount") = static_cast<int>(linkCount);
        rs.Fields("noteId") = noteServerId;
        rs.Update();
        rs.Close();
    });
}

} // namespace velmora
