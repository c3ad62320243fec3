// Identity services: the creator test compares login names whatever their letter case, in any
// script, and counts a never-synchronised item as the user's own.
#include "store/StoreSession.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(IsCreator, LoginNamesMatchWhateverTheLetterCase) {
    testing::TestSession s;
    s.state.currentUser = "Zoë";
    s.mapContact("C1", "ZOË_12");
    s.mapContact("C2", "Zoe_13");
    s.mapContact("C3", "zoë_x_14");
    EXPECT_TRUE(isCreator(s.state, kindContact, "C1"));
    EXPECT_FALSE(isCreator(s.state, kindContact, "C2")) << "an accent makes another name";
    EXPECT_FALSE(isCreator(s.state, kindContact, "C3"));
    EXPECT_TRUE(isCreator(s.state, kindContact, "never-synchronised"));
}

} // namespace
} // namespace velmora
