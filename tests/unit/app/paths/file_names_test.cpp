// File names as Windows reads them: the name it opens, batch files and devices.

#include "app/paths/file_names.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNames, TheNameOpenedLosesItsStreamAndItsTrailingDotsAndBlanks) {
  const struct {
    const char* path;
    const char* opened;
  } cases[] = {
      {"C:\\x\\u.bat", "u.bat"},
      {"C:\\x\\u.bat.", "u.bat"},
      {"C:\\x\\u.bat . .", "u.bat"},
      {"C:\\x\\u.bat::$DATA", "u.bat"},
      {"C:\\x\\u.bat. :x", "u.bat"},
      {"C:/x/u.exe", "u.exe"},
      {"C:u.cmd ", "u.cmd"},
      {"u.exe", "u.exe"},
      {"C:\\x\\...", ""},
      {"C:\\x\\", ""},
      {"C:\\x.y\\u", "u"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(app::OpenedFileName(c.path), c.opened) << c.path;
}

TEST(FileNames, ABatchFileIsKnownByTheNameWindowsOpens) {
  const struct {
    const char* path;
    bool batch;
  } cases[] = {
      {"C:\\x\\u.bat", true},    {"C:\\x\\u.CMD", true},
      {"C:\\x\\u.bat.", true},   {"C:\\x\\u.BAT ", true},
      {"C:\\x\\u.cmd..", true},  {"C:\\x\\u.bat::$DATA", true},
      {"C:\\x\\u.Bat . ", true}, {"C:\\x\\u.bat:stream:$DATA", true},
      {"C:\\x\\u.exe", false},   {"C:\\x\\u.bat.exe", false},
      {"C:\\x\\u.batx", false},  {"C:\\x.bat\\u.exe", false},
      {"C:\\x\\u.exe.", false},  {"C:\\x\\bat", false},
  };
  for (const auto& c : cases) EXPECT_EQ(app::IsBatchFile(c.path), c.batch) << c.path;
}

TEST(FileNames, DeviceNamesAreKnownWhateverFollowsThem) {
  const struct {
    const char* path;
    bool device;
  } cases[] = {
      {"C:\\x\\CON", true},
      {"C:\\x\\prn.txt", true},
      {"C:\\x\\Aux.ico", true},
      {"C:\\x\\nul", true},
      {"C:\\x\\CONIN$", true},
      {"C:\\x\\conout$.exe", true},
      {"C:\\x\\COM0", true},
      {"C:\\x\\com9.exe", true},
      {"C:\\x\\LPT1.dll", true},
      {"C:\\x\\COM1 .exe", true},
      {"C:\\x\\COM1:x", true},
      {"C:\\x\\COM1.", true},
      {"C:\\x\\NUL  ", true},
      {"C:\\x\\COM\xC2\xB9", true},  // superscript one
      {"C:\\x\\lpt\xC2\xB2.exe", true},
      {"C:\\x\\COM\xC2\xB3:", true},
      {"C:COM1", true},
      {"C:/x/aux.exe", true},
      {"NUL", true},
      {"C:\\x\\COM", false},
      {"C:\\x\\COM10", false},
      {"C:\\x\\COM\xC2\xB4", false},  // an acute accent, no superscript
      {"C:\\x\\COM\xC2", false},
      {"C:\\x\\CONSOLE.exe", false},
      {"C:\\x\\xCON", false},
      {"C:\\CON\\u.exe", false},  // a folder of that name is no device
      {"C:\\x\\com.exe", false},
      {"C:\\x\\u.exe", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(app::IsDeviceName(c.path), c.device) << c.path;
}

}  // namespace
