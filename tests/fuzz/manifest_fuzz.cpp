// Fuzz target: any file, read as a removal set's manifest. Nothing is read outside it, and a
// manifest that reads is written back as text that reads as the same manifest.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/leftovers/removal_manifest.h"
#include "fuzz_require.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto manifest = app::ReadManifest(text);
  if (!manifest) return 0;
  std::string written = app::ManifestHead(*manifest);
  for (const auto& step : manifest->steps) written += app::ManifestStepText(step);
  Require(app::ReadManifest(written) == manifest, "a manifest written back reads as itself");
  return 0;
}
