// The registry file on disk: reading it whole, and changing it so that no reader ever sees a
// half-written file and no concurrent writer loses another's change.
//
// A change takes an exclusive advisory lock (flock) on "<file>.lock" beside the file, reads the
// current contents, applies the change, writes the result to a temporary file in the same folder,
// fsyncs it and renames it over the file. Readers take no lock: rename replaces the file in one
// step. The folder is created on the first change.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

#include "platform/registry_data.h"

namespace quillon::platform {

// Files larger than this are not registry files written by us; they read as empty.
inline constexpr std::uintmax_t kMaxRegistryFileSize = 16u * 1024u * 1024u;

// The contents of the file; empty when it is missing, unreadable or garbled.
RegistryData loadRegistryFile(const std::filesystem::path& file);

enum class UpdateResult { Written, Unchanged, Failed };

// Applies `change` to the current contents under the lock and writes them back when `change`
// returns true. Failed means the lock, the folder or the new file could not be made; the old file
// is then left as it was.
UpdateResult updateRegistryFile(const std::filesystem::path& file,
                                const std::function<bool(RegistryData&)>& change);

}  // namespace quillon::platform
