#pragma once

// How registry data crosses the raw registry seam. The store keeps text (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ) as UTF-16LE; above the seam it is UTF-8 (WTF-8 for a lone surrogate). One rule
// for the real registry and its substitute, so that both show the program the same bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

bool IsRegistryText(std::uint32_t type);

// Stored bytes as the seam gives them: text as UTF-8, every zero unit kept as a zero byte, and
// a trailing odd byte, which is part of no unit, dropped. Other types unchanged.
std::vector<std::uint8_t> SeamBytes(std::uint32_t type, const std::uint8_t* data, std::size_t size);

// The seam's bytes as the store keeps them: text as UTF-16LE that always ends with a zero
// unit, as RegSetValueEx is given it. Other types unchanged.
std::vector<std::uint8_t> StoredBytes(std::uint32_t type, const std::uint8_t* data,
                                      std::size_t size);

// UTF-8 (WTF-8) text as UTF-16LE bytes, exactly: no terminator added.
std::vector<std::uint8_t> Utf16LeBytes(const std::uint8_t* data, std::size_t size);

}  // namespace platform
