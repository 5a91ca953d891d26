#pragma once

// The fields of a listed program, in the one order every list writes them, each a value of its
// own kind: none, a text, a number or a truth.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "app/listing/listed_program.h"

namespace app {

using FieldValue = std::variant<std::monostate, std::string, std::uint32_t, bool>;

struct ListedField {
  std::string_view key;
  FieldValue (*value)(const ListedProgram& program);
};

// id, name, version, publisher, installed ("yyyy-mm-dd"), installed_from ("InstallDate" or
// "file"), scope ("machine" or "user"), view (32, 64, or none for a user's entry), size_kb,
// quiet, orphaned.
inline constexpr std::size_t kListedFieldCount = 11;
const std::array<ListedField, kListedFieldCount>& ListedFields();

}  // namespace app
