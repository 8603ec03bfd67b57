#include "platform/registry.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/registry_file.h"
#include "support/scratch_dir.h"

namespace quillon::platform {
namespace {

using test_support::EnvGuard;
using test_support::ScratchDir;

constexpr std::string_view kAppearance = "SOFTWARE\\Brindle\\WF\\V8.520\\Appearance";
constexpr std::string_view kKcgl = "SOFTWARE\\Brindle\\WF\\V8.520\\KCGL";

void writeFile(const std::filesystem::path& file, std::string_view text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

using test_support::fileText;

// The registry write step of the settings code: open for setting, else create, then set.
RegStatus writeValue(Registry& registry, std::string_view key, std::string_view name,
                     std::string_view text) {
  RegistryKey handle;
  if (registry.openKey(key, RegAccess::Write, handle) != RegStatus::Success) {
    if (RegStatus s = registry.createKey(key, handle); s != RegStatus::Success) return s;
  }
  RegStatus s = handle.setString(name, text);
  handle.close();
  return s;
}

// The read step: open read-only, query into a buffer of `chars` characters.
RegStatus readValue(const Registry& registry, std::string_view key, std::string_view name,
                    std::string& text, std::size_t chars = 128) {
  RegistryKey handle;
  if (RegStatus s = registry.openKey(key, RegAccess::Read, handle); s != RegStatus::Success)
    return s;
  return handle.queryString(name, text, chars);
}

TEST(Registry, MissingKeyMissingValueAndEmptyValue) {
  ScratchDir dir;
  Registry registry(dir / "registry");
  std::string text = "untouched";

  // Nothing written yet: the file does not exist and no key opens.
  EXPECT_EQ(readValue(registry, kAppearance, "Toolbar Style", text), RegStatus::FileNotFound);
  EXPECT_EQ(text, "untouched");
  EXPECT_FALSE(std::filesystem::exists(dir / "registry"));

  ASSERT_EQ(writeValue(registry, kKcgl, "orderform", "2"), RegStatus::Success);
  EXPECT_TRUE(std::filesystem::exists(dir / "registry"));

  // Another key of the same parent is still missing; a missing value leaves the buffer alone.
  EXPECT_EQ(readValue(registry, kAppearance, "Toolbar Style", text), RegStatus::FileNotFound);
  EXPECT_EQ(readValue(registry, kKcgl, "invoice", text), RegStatus::FileNotFound);
  EXPECT_EQ(text, "untouched");
  // Ancestors of a created key exist.
  RegistryKey parent;
  EXPECT_EQ(registry.openKey("SOFTWARE\\Brindle", RegAccess::Read, parent), RegStatus::Success);

  ASSERT_EQ(writeValue(registry, kAppearance, "Toolbar Style", ""), RegStatus::Success);
  EXPECT_EQ(readValue(registry, kAppearance, "Toolbar Style", text), RegStatus::Success);
  EXPECT_EQ(text, "");
  EXPECT_EQ(readValue(registry, kKcgl, "orderform", text), RegStatus::Success);
  EXPECT_EQ(text, "2");
}

TEST(Registry, LongValueIsCutToTheBuffer) {
  ScratchDir dir;
  Registry registry(dir / "registry");
  std::string value = "T";
  for (int i = 0; i < 100; ++i) value += "工具栏";  // 301 characters, 901 bytes
  ASSERT_EQ(writeValue(registry, kAppearance, "Toolbar Style", value), RegStatus::Success);

  std::string text;
  ASSERT_EQ(readValue(registry, kAppearance, "Toolbar Style", text, 128), RegStatus::Success);
  EXPECT_EQ(text, cutToChars(value, 128));
  EXPECT_EQ(text.size(), 1u + 127u * 3u);  // whole characters only
  EXPECT_EQ(text.substr(0, 4), "T工");

  ASSERT_EQ(readValue(registry, kAppearance, "Toolbar Style", text, kUnlimited),
            RegStatus::Success);
  EXPECT_EQ(text, value);
  ASSERT_EQ(readValue(registry, kAppearance, "Toolbar Style", text, 0), RegStatus::Success);
  EXPECT_EQ(text, "");
}

TEST(Registry, KeyPathsAndValueNamesIgnoreCase) {
  ScratchDir dir;
  Registry registry(dir / "registry");
  ASSERT_EQ(writeValue(registry, kKcgl, "OrderForm", "1"), RegStatus::Success);
  ASSERT_EQ(writeValue(registry, "software\\BRINDLE\\wf\\v8.520\\kcgl", "orderFORM", "3"),
            RegStatus::Success);

  std::string text;
  EXPECT_EQ(readValue(registry, "Software\\Brindle\\WF\\V8.520\\Kcgl", "ORDERFORM", text),
            RegStatus::Success);
  EXPECT_EQ(text, "3");
  // Redundant separators name the same key.
  EXPECT_EQ(readValue(registry, "\\SOFTWARE\\\\Brindle\\WF\\V8.520\\KCGL\\", "orderform", text),
            RegStatus::Success);
  EXPECT_EQ(text, "3");

  // One key, one value: the spelling first used is kept.
  const std::string file = fileText(dir / "registry");
  EXPECT_NE(file.find("[SOFTWARE\\Brindle\\WF\\V8.520\\KCGL]\nOrderForm=3\n"), std::string::npos)
      << file;
  EXPECT_EQ(file.find("orderFORM"), std::string::npos);
}

TEST(Registry, HandlesRefuseWhatTheirAccessDoesNotAllow) {
  ScratchDir dir;
  Registry registry(dir / "registry");
  RegistryKey key;
  ASSERT_EQ(registry.createKey(kKcgl, key), RegStatus::Success);
  ASSERT_EQ(key.setString("invoice", "1"), RegStatus::Success);

  RegistryKey readOnly;
  ASSERT_EQ(registry.openKey(kKcgl, RegAccess::Read, readOnly), RegStatus::Success);
  EXPECT_EQ(readOnly.setString("invoice", "2"), RegStatus::AccessDenied);
  EXPECT_EQ(key.setString("invoice", std::string("\xff\xfe", 2)), RegStatus::InvalidParameter);

  key.close();
  std::string text;
  EXPECT_EQ(key.queryString("invoice", text), RegStatus::InvalidHandle);
  EXPECT_EQ(key.setString("invoice", "2"), RegStatus::InvalidHandle);
  EXPECT_EQ(readOnly.queryString("invoice", text), RegStatus::Success);
  EXPECT_EQ(text, "1");
}

TEST(Registry, WriteReplacesTheFileInsteadOfRewritingIt) {
  ScratchDir dir;
  const auto file = dir / "registry";
  Registry registry(file);
  ASSERT_EQ(writeValue(registry, kKcgl, "orderform", "1"), RegStatus::Success);
  const std::string before = fileText(file);

  // A reader that opened the old file keeps seeing all of it: the new content went to a new inode.
  const int oldFd = ::open(file.c_str(), O_RDONLY);
  ASSERT_GE(oldFd, 0);
  ASSERT_EQ(writeValue(registry, kKcgl, "arrivalform", "2"), RegStatus::Success);
  std::string old(before.size() + 16, '\0');
  const ssize_t n = ::pread(oldFd, old.data(), old.size(), 0);
  ::close(oldFd);
  ASSERT_GE(n, 0);
  old.resize(static_cast<std::size_t>(n));
  EXPECT_EQ(old, before);

  // Only the registry and its lock file are left behind; no temporary file.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"registry", "registry.lock"}));

  std::string text;
  EXPECT_EQ(readValue(registry, kKcgl, "orderform", text), RegStatus::Success);
  EXPECT_EQ(text, "1");
}

// A form's dozen kept fields cost one synchronised rewrite, and keeping them again unchanged none.
TEST(Registry, SeveralValuesAreWrittenTogetherAndUnchangedOnesNotAtAll) {
  ScratchDir dir;
  const auto file = dir / "registry";
  Registry registry(file);
  RegistryKey key;
  ASSERT_EQ(registry.createKey(kKcgl, key), RegStatus::Success);
  const auto inode = [&] {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? st.st_ino : ino_t{0};
  };
  const std::vector<RegistryKey::NamedText> values{
      {"Filter.txtCode", "A01"}, {"Filter.txtCode.codes", ""}, {"Filter", "1"}};
  ASSERT_EQ(key.setStrings(values), RegStatus::Success);
  const ino_t written = inode();

  std::string text;
  EXPECT_EQ(readValue(registry, kKcgl, "filter.TXTCODE", text), RegStatus::Success);
  EXPECT_EQ(text, "A01");
  EXPECT_EQ(readValue(registry, kKcgl, "Filter.txtCode.codes", text), RegStatus::Success);
  EXPECT_EQ(text, "");

  // The same texts again, one by one or together: the file is not replaced.
  ASSERT_EQ(key.setStrings(values), RegStatus::Success);
  ASSERT_EQ(key.setString("Filter", "1"), RegStatus::Success);
  EXPECT_EQ(inode(), written);

  // One changed value among unchanged ones replaces it, and keeps the others.
  const std::vector<RegistryKey::NamedText> changed{{"Filter.txtCode", "B02"}, {"Filter", "1"}};
  ASSERT_EQ(key.setStrings(changed), RegStatus::Success);
  EXPECT_NE(inode(), written);
  EXPECT_EQ(readValue(registry, kKcgl, "Filter.txtCode", text), RegStatus::Success);
  EXPECT_EQ(text, "B02");
  EXPECT_EQ(readValue(registry, kKcgl, "Filter", text), RegStatus::Success);
  EXPECT_EQ(text, "1");

  // A malformed text refuses the whole batch and writes nothing.
  const std::vector<RegistryKey::NamedText> bad{{"Filter.txtCode", "C03"}, {"Filter", "\xff"}};
  EXPECT_EQ(key.setStrings(bad), RegStatus::InvalidParameter);
  EXPECT_EQ(readValue(registry, kKcgl, "Filter.txtCode", text), RegStatus::Success);
  EXPECT_EQ(text, "B02");
}

TEST(Registry, GarbledFileReadsAsEmptyUntilTheNextWrite) {
  const std::vector<std::string> garbage = {
      "not a registry\n",
      std::string("QUILLON-REGISTRY 1\n[SOFTWARE]\nname=\xc3\x28\n"),  // invalid UTF-8
      "QUILLON-REGISTRY 1\nname=value before any key\n",
      "QUILLON-REGISTRY 1\n[SOFTWARE\\Brindle\\WF\\V8.520\\KCGL]\norderform=%4\n",  // cut escape
      std::string("\0\0\0\x01\x02", 5),
  };
  for (const std::string& junk : garbage) {
    ScratchDir dir;
    const auto file = dir / "registry";
    writeFile(file, junk);
    Registry registry(file);
    std::string text = "default";
    EXPECT_EQ(readValue(registry, kKcgl, "orderform", text), RegStatus::FileNotFound) << junk;
    EXPECT_EQ(text, "default");

    ASSERT_EQ(writeValue(registry, kKcgl, "invoice", "4"), RegStatus::Success);
    EXPECT_EQ(readValue(registry, kKcgl, "invoice", text), RegStatus::Success);
    EXPECT_EQ(text, "4");
    EXPECT_EQ(readValue(registry, kKcgl, "orderform", text), RegStatus::FileNotFound);
  }
}

TEST(Registry, UnusableLocationsFailWithoutCrashing) {
  ScratchDir dir;
  // The registry path names a folder: nothing can be read, and writes report access denied.
  std::filesystem::create_directory(dir / "folder");
  Registry folder(dir / "folder");
  std::string text;
  EXPECT_EQ(readValue(folder, kKcgl, "orderform", text), RegStatus::FileNotFound);
  EXPECT_EQ(writeValue(folder, kKcgl, "orderform", "1"), RegStatus::AccessDenied);

  // Its folder cannot be created because a file is in the way.
  writeFile(dir / "plain", "x");
  Registry blocked(dir / "plain" / "registry");
  EXPECT_EQ(writeValue(blocked, kKcgl, "orderform", "1"), RegStatus::AccessDenied);

  Registry nowhere{std::filesystem::path()};
  EXPECT_EQ(writeValue(nowhere, kKcgl, "orderform", "1"), RegStatus::AccessDenied);
  EXPECT_EQ(readValue(nowhere, kKcgl, "orderform", text), RegStatus::FileNotFound);
}

TEST(Registry, FirstWriteCreatesTheFolder) {
  ScratchDir dir;
  Registry registry(dir / "config" / "quillon" / "registry");
  ASSERT_EQ(writeValue(registry, kKcgl, "orderform", "1"), RegStatus::Success);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "config" / "quillon" / "registry"));
}

TEST(Registry, ConcurrentWritersKeepEachOthersValues) {
  ScratchDir dir;
  const auto file = dir / "registry";
  constexpr int kPerWriter = 40;
  auto writer = [&](const std::string& prefix) {
    Registry registry(file);  // each writer has its own handles and lock descriptor
    for (int i = 0; i < kPerWriter; ++i)
      ASSERT_EQ(writeValue(registry, kKcgl, prefix + std::to_string(i), std::to_string(i)),
                RegStatus::Success);
  };
  std::thread a(writer, "a");
  std::thread b(writer, "b");
  a.join();
  b.join();

  Registry registry(file);
  for (const char* prefix : {"a", "b"}) {
    for (int i = 0; i < kPerWriter; ++i) {
      std::string text;
      const std::string name = prefix + std::to_string(i);
      ASSERT_EQ(readValue(registry, kKcgl, name, text), RegStatus::Success) << name;
      EXPECT_EQ(text, std::to_string(i));
    }
  }
}

TEST(Registry, ConcurrentProcessesKeepEachOthersValues) {
  ScratchDir dir;
  const auto file = dir / "registry";
  constexpr int kPerWriter = 25;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  const std::string prefix = child == 0 ? "child" : "parent";
  bool ok = true;
  {
    Registry registry(file);
    for (int i = 0; i < kPerWriter; ++i)
      ok = ok && writeValue(registry, kKcgl, prefix + std::to_string(i), "v") == RegStatus::Success;
  }
  if (child == 0) ::_exit(ok ? 0 : 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(ok);

  const RegistryData data = loadRegistryFile(file);
  const RegistryKeyData* key = data.findKey(kKcgl);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->values.size(), 2u * kPerWriter);
}

TEST(Registry, DefaultLocationFollowsTheEnvironment) {
  {
    EnvGuard registry("QUILLON_REGISTRY", "/srv/quillon/machine.reg");
    EnvGuard config("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(defaultRegistryPath(), std::filesystem::path("/srv/quillon/machine.reg"));
  }
  {
    EnvGuard registry("QUILLON_REGISTRY", "");
    EnvGuard config("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(defaultRegistryPath(), std::filesystem::path("/cfg/quillon/registry"));
  }
  {
    EnvGuard registry("QUILLON_REGISTRY", nullptr);
    EnvGuard config("XDG_CONFIG_HOME", "relative/ignored");
    EnvGuard home("HOME", "/home/clerk");
    EXPECT_EQ(defaultRegistryPath(), std::filesystem::path("/home/clerk/.config/quillon/registry"));
  }
}

}  // namespace
}  // namespace quillon::platform
