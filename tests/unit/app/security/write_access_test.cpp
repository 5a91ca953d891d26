// Who may change a folder, read from its security as the system writes it out.

#include "app/security/write_access.h"

#include <gtest/gtest.h>

namespace {

constexpr std::string_view kOwn = "S-1-5-21-1-2-3-1001";

TEST(WriteAccess, StandardUsersMayChangeWhatGrantsThemWriting) {
  const std::pair<const char*, bool> cases[] = {
      // Program Files as Windows makes it: users read and run only.
      {"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464D:PAI(A;;FA;;;S-1-5-80-"
       "956008885-3418522649-1831038044-1853292631-2271478464)(A;OICIIO;GA;;;S-1-5-80-956008885-"
       "3418522649-1831038044-1853292631-2271478464)(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;"
       "0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)"
       "(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)",
       false},
      // Under Wine: the user owns everything, everyone reads.
      {"O:S-1-5-21-0-0-0-1000D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-0-0-0-1000)(A;OICI;0x1200a9;;;"
       "WD)",
       false},
      // A user's own profile folder, as a portable copy sits in: the user may write.
      {"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;S-1-5-21-1-2-3-1001)", false},
      {"O:BAD:(A;;FA;;;BU)", true},
      {"O:BAD:(A;;0x1301bf;;;AU)", true},  // Modify
      {"O:BAD:(A;;FW;;;WD)", true},
      {"O:BAD:(A;;0x2;;;IU)", true},            // adding a file is enough
      {"O:BAD:(A;;0x4;;;S-1-5-32-545)", true},  // so is a subfolder
      {"O:BAD:(A;;SD;;;BU)", true},             // deleting
      {"O:BAD:(A;;WDWO;;;BU)", true},           // changing the security
      {"O:BAD:(A;;GW;;;BU)", true},
      {"O:BAD:(A;;GA;;;BU)", true},
      {"O:BAD:(A;OICIIO;GA;;;BU)", false},  // only for what is made inside
      {"O:BAD:(D;;FA;;;BU)(A;;FR;;;BU)", false},
      {"O:BUD:(A;;FA;;;BA)", true},       // an owner may change the security
      {"O:BAD:NO_ACCESS_CONTROL", true},  // no DACL: everyone may do anything
      {"O:BA", true},                     // no DACL told
      {"", true},                         // unreadable
      {"O:BAD:(XA;;FA;;;BU)", true},      // an entry not understood
      {"O:BAD:(A;;FA;;;BU", true},
      {"O:BAD:(A;ZZ;FA;;;BA)", true},
      {"O:BAD:(A;;QQ;;;BA)", true},
      {"O:BAD:(A;;0x123456789;;;BA)", true},
      {"O:BAG:SYD:AI(A;ID;FA;;;DA)(A;;FR;;;BU)", false},  // an alias of a domain's
  };
  for (const auto& [text, may_change] : cases) {
    EXPECT_EQ(app::StandardUsersMayChange(text), may_change) << text;
  }
}

TEST(WriteAccess, AStoreFolderIsTheAdministratorsOwn) {
  const std::pair<const char*, bool> cases[] = {
      {"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", true},
      {"O:SYD:PAI(A;OICI;FA;;;SY)", true},
      {"O:S-1-5-21-1-2-3-1001D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-1-2-3-1001)", true},
      {"O:S-1-5-21-1-2-3-1002D:(A;OICI;FA;;;S-1-5-21-1-2-3-1002)", false},  // a user made it
      {"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;BU)", false},
      {"O:BAD:NO_ACCESS_CONTROL", false},
  };
  for (const auto& [text, trusted] : cases) {
    EXPECT_EQ(app::IsAdministratorsFolder(text, kOwn), trusted) << text;
  }
  EXPECT_FALSE(app::IsAdministratorsFolder("O:S-1-5-21-1-2-3-1001D:(A;;FA;;;SY)", ""));
}

}  // namespace
