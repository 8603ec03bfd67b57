// The text form of the registry file, UTF-8, one item per line:
//
//   QUILLON-REGISTRY 1
//   [SOFTWARE\Brindle\WF\V8.520\Appearance]
//   Toolbar Style=Text
//
// The first line identifies the format. A "[path]" line starts a key (the root key is "[]"); each
// following "name=text" line is a string value of that key. Bytes that would break the line
// structure are written as %XX (two hex digits): in every field '%' and the ASCII control
// characters; in key paths also '[' and ']'; in value names also '=', '[' and ']'. Only ASCII bytes
// are ever escaped, so the file stays valid UTF-8 and readable in any editor. Lines may end in LF
// or CRLF.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry_data.h"

namespace quillon::platform {

inline constexpr std::string_view kRegistryHeader = "QUILLON-REGISTRY 1";

std::string formatRegistry(const RegistryData& data);

// Parses a whole file; nullopt when anything in it is not in the format above (a garbled file is
// better ignored than half-read). An empty text is an empty registry.
std::optional<RegistryData> parseRegistry(std::string_view text);

}  // namespace quillon::platform
