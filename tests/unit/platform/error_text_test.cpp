// The system's error texts with the file they are about: "%1" is filled, nothing else is.

#include "platform/error_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorText, OnlyTheFirstInsertIsFilledWithThePath) {
  const std::string path = "C:\\Apps\\u.exe";
  const struct {
    const char* text;
    std::string filled;
  } cases[] = {
      {"Bad EXE format for %1.", "Bad EXE format for C:\\Apps\\u.exe."},
      {"%1 is not a valid Win32 application.", "C:\\Apps\\u.exe is not a valid Win32 application."},
      {"The system cannot find the file specified.", "The system cannot find the file specified."},
      {"%1 and %1", "C:\\Apps\\u.exe and C:\\Apps\\u.exe"},
      {"%1 needs %2.", "C:\\Apps\\u.exe needs %2."},  // no argument for a second insert
      {"Insert %10 is another.", "Insert %10 is another."},
      {"100%% of %1", "100%% of C:\\Apps\\u.exe"},
      {"%%1 is escaped", "%%1 is escaped"},
      {"ends with %", "ends with %"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::WithPathInserted(c.text, path), c.filled) << c.text;
}

TEST(ErrorText, APathThatHoldsAnInsertIsNotFilledAgain) {
  EXPECT_EQ(platform::WithPathInserted("Bad EXE format for %1.", "C:\\%1\\%2.exe"),
            "Bad EXE format for C:\\%1\\%2.exe.");
  EXPECT_EQ(platform::WithPathInserted("%1 failed.", ""), " failed.");
}

}  // namespace
