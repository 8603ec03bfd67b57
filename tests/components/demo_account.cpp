#include "demo_account.h"

#include <unistd.h>

#include <filesystem>

#include "components/suite/session.h"
#include "db/demo_data.h"

namespace quillon::components::testing {

namespace {

struct ScratchDir {
  std::filesystem::path path;
  ScratchDir() {
    path = std::filesystem::temp_directory_path() /
           ("quillon-components-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

ScratchDir& scratch() {
  static ScratchDir dir;
  return dir;
}

}  // namespace

const std::string& scratchDir() {
  static const std::string dir = scratch().path.string();
  return dir;
}

const std::string& demoPath() {
  static const std::string path = [] {
    std::string p = (scratch().path / "demo.db").string();
    db::createDemoDatabase(p, 1, true);
    return p;
  }();
  return path;
}

std::string demoCopy(const std::string& name) {
  std::filesystem::path target = scratch().path / (name + ".db");
  std::filesystem::copy_file(demoPath(), target, std::filesystem::copy_options::overwrite_existing);
  return target.string();
}

std::shared_ptr<suite::Login> loginAs(const std::string& user, const std::string& path) {
  return suite::Login::open(path, user, automation::DateValue{46361.0});  // 2026-12-05
}

std::shared_ptr<SessionContext> sessionFor(const std::string& user, const std::string& path) {
  auto login = loginAs(user, path);
  auto context = std::make_shared<suite::SuiteSessionContext>();
  context->initialise(login);
  auto profile = std::make_shared<suite::SuiteSessionProfile>();
  suite::SuiteSessionContextBuilder builder;
  builder.setContext(context);
  builder.fillProfile(login->firstIdentity(), login->secondIdentity(), *profile);
  context->setProfile(profile);
  return context;
}

}  // namespace quillon::components::testing
