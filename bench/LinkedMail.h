// The mail the relink benchmarks work on: saved in the host with a subject and linked to a
// number of new contacts, whose entry ids come back for the baselines' statements.
#pragma once

#include "platform/host/ObjectModel.h"

#include <string>
#include <vector>

inline velmora::host::ItemPtr linkedMail(velmora::host::Application& app, int contacts,
                                         std::vector<std::string>& contactIds) {
    using namespace velmora;
    host::ItemPtr mail = app.CreateItem(host::olMailItem);
    mail->Set("Subject", "Weekly report");
    mail->Save();
    for (int i = 0; i < contacts; ++i) {
        host::ItemPtr c = app.CreateItem(host::olContactItem);
        c->Set("FullName", "Contact " + std::to_string(i));
        c->Save();
        mail->Links().Add(c);
        contactIds.push_back(c->EntryID());
    }
    return mail;
}
