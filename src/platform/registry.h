// The machine registry (the HKEY_LOCAL_MACHINE hive), kept in one file.
//
// The calls follow the platform's registry API step by step — open a key, query a string value,
// create a key, set a string value, close — and return its status numbers, so the settings code can
// be written exactly as the read and write steps it implements.
//
// Where the file lives: the environment variable QUILLON_REGISTRY when it is set and not empty,
// else $XDG_CONFIG_HOME/quillon/registry, else ~/.config/quillon/registry. The file is created by
// the first write (its format is described in registry_format.h). A missing, unreadable or garbled
// file reads as an empty registry, so every setting falls back to its default; the next write
// replaces it. Writes replace the file atomically and never lose a concurrent writer's value.
//
// Key paths ("SOFTWARE\Brindle\WF\V8.520\Appearance") and value names compare without regard to
// ASCII case. Values are UTF-8 strings.
#pragma once

#include <cstddef>
#include <filesystem>
#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace quillon::platform {

// Status numbers of the platform's registry calls.
enum class RegStatus : long {
  Success = 0,
  FileNotFound = 2,       // key or value missing
  AccessDenied = 5,       // the file could not be written
  InvalidHandle = 6,      // the key is not open
  InvalidParameter = 87,  // a value that is not UTF-8
};

enum class RegAccess { Read, Write };

inline constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

std::filesystem::path defaultRegistryPath();

class Registry;

// An open key. Moving transfers it; closing (or destruction) ends it. The key reads the file afresh
// on every query, so it sees values that other processes wrote after it was opened.
class RegistryKey {
 public:
  RegistryKey() = default;

  bool isOpen() const { return open_; }
  const std::string& path() const { return path_; }

  // Reads a string value, cut to at most maxChars characters (whole UTF-8 sequences), the way a
  // caller's fixed-size buffer receives it. FileNotFound when the value (or the key, since it was
  // opened) is missing.
  RegStatus queryString(std::string_view valueName, std::string& text,
                        std::size_t maxChars = kUnlimited) const;

  // Sets a string value; the key is created again should it have vanished from the file. A value
  // that already reads `text` leaves the file as it is.
  RegStatus setString(std::string_view valueName, std::string_view text);

  // Sets several values in one rewrite of the file (or none, when every value already reads its
  // text): a form that keeps a dozen fields pays one synchronised write, not a dozen.
  struct NamedText {
    std::string_view name;
    std::string_view text;
  };
  RegStatus setStrings(std::span<const NamedText> values);

  void close();

 private:
  friend class Registry;
  RegistryKey(std::filesystem::path file, std::string path, RegAccess access)
      : file_(std::move(file)), path_(std::move(path)), access_(access), open_(true) {}

  std::filesystem::path file_;
  std::string path_;
  RegAccess access_ = RegAccess::Read;
  bool open_ = false;
};

class Registry {
 public:
  explicit Registry(std::filesystem::path file) : file_(std::move(file)) {}
  // The machine registry at defaultRegistryPath().
  static Registry machine() { return Registry(defaultRegistryPath()); }

  const std::filesystem::path& file() const { return file_; }

  // Opens an existing key; FileNotFound when it does not exist. `key` is closed on failure.
  RegStatus openKey(std::string_view path, RegAccess access, RegistryKey& key) const;

  // Opens the key for writing, creating it and its missing ancestors in the file first.
  RegStatus createKey(std::string_view path, RegistryKey& key);

 private:
  std::filesystem::path file_;
};

// Cuts UTF-8 text to at most maxChars code points without splitting a sequence.
std::string cutToChars(std::string_view text, std::size_t maxChars);

}  // namespace quillon::platform
