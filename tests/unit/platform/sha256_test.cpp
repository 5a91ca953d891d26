// SHA-256 against the standard's own examples, fed whole and in pieces across block edges.

#include "platform/sha256.h"

#include <gtest/gtest.h>

namespace {

TEST(Sha256, GivesTheStandardsExamplesFedWholeOrInPieces) {
  const std::string kMillionA(1000000, 'a');
  const struct {
    std::string text;
    std::string hash;
  } rows[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {kMillionA, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(platform::Sha256Hex(row.text), row.hash);
    platform::Sha256 pieces;
    for (std::size_t at = 0; at < row.text.size(); at += 63) {
      pieces.Add(std::string_view(row.text).substr(at, 63));
    }
    EXPECT_EQ(pieces.FinishHex(), row.hash) << row.text.size();
  }
}

}  // namespace
