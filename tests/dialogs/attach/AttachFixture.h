// What the attach-dialog tests share: a session in either language on the in-memory host with the
// mail and note link engines, and contacts and appointments of December 2026 made on it.
#pragma once

#include "links/AttachEmail.h"
#include "links/attachNote.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace velmora::testing {

class AttachFixture : public ::testing::Test {
  protected:
    explicit AttachFixture(bool chinese) : s(SessionOptions{chinese}) {
        s.state.mailLinks = std::make_shared<AttachEmail>(s.state);
        s.state.noteLinks = std::make_shared<attachNote>(s.state);
    }

    host::ItemPtr contact(const std::string& name, const std::string& address) {
        return s.addContact(name, address);
    }
    host::ItemPtr appointment(const std::string& subject, int day) {
        return s.addAppointment(subject, host::makeDate(2026, 12, day, 10));
    }

    TestSession s;
};

} // namespace velmora::testing
