// The removal set's manifest: read back exactly as written, a crash's half line left out, and
// anything the writer would not have written refused.

#include "app/leftovers/removal_manifest.h"

#include <gtest/gtest.h>

namespace {

app::RemovalManifest Widget() {
  app::RemovalManifest manifest{.record = "2026-12-08 10-48-40", .time = {2026, 2, 5, 9, 7, 3}};
  manifest.items = {
      {app::LeftoverKind::kFolder, "C:\\Users\\u\\AppData\\Roaming\\Acme\\Widget", "",
       "C:\\Store\\1\\Widget", 10, "00ff"},
      {app::LeftoverKind::kRunValue, "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
       "Widget\ttab\nline", "C:\\Store\\1\\run.reg", 0, ""},
  };
  manifest.steps = {{0, app::ManifestStep::kMoved, ""},
                    {1, app::ManifestStep::kSkipped, "changed"}};
  return manifest;
}

std::string Written(const app::RemovalManifest& manifest) {
  std::string text = app::ManifestHead(manifest);
  for (const auto& step : manifest.steps) text += app::ManifestStepText(step);
  return text;
}

TEST(RemovalManifest, ReadsBackAsWrittenStepByStep) {
  const std::string text = Written(Widget());
  EXPECT_EQ(app::ReadManifest(text), Widget());
  app::RemovalManifest first_step = Widget();
  first_step.steps.pop_back();
  EXPECT_EQ(app::ReadManifest(text.substr(0, text.size() - 5)), first_step)
      << "a line a crash cut short is left out";
  const std::string head = app::ManifestHead(Widget());
  const std::string item = "item=2\tfolder\tC:\\\\x\t\tC:\\\\s\t1\tab\n";
  for (const std::string& bad : {
           "Tapwise removal set 2" + head.substr(head.find('\n')),
           head + item.substr(0, 5) + "3" + item.substr(6),        // out of order
           head + "item=2\tfolder\tC:\\\\x\t\tC:\\\\s\t01\tab\n",  // a number spelled twice
           head + "item=2\tfolder\tC:\\\\x\t\tC:\\\\s\t1\tAB\n",   // upper-case hash
           head + "item=2\tdisk\tC:\\\\x\t\tC:\\\\s\t1\tab\n",     // unknown kind
           head + "item=2\tfolder\tC:\\\\x\t\tC:\\\\s\t1\n",       // a field short
           head + "step=2\tmoved\t\n",                             // no such item
           head + "step=0\tvanished\t\n",
           head + "step=0\tmoved\t\n" + item,  // an item after the steps
           head + "record=again\n",
           std::string(app::kManifestFirstLine) + "\ntime=2026-02-05 09:07:03\n",  // no record
           std::string(app::kManifestFirstLine) + "\nrecord=r\ntime=2026-2-5 09:07:03\n",
       }) {
    EXPECT_FALSE(app::ReadManifest(bad)) << bad;
  }
}

}  // namespace
