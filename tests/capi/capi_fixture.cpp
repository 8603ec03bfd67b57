#include "capi/capi_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "support/command_run.h"

namespace quillon::capi_test {

Value& Value::operator=(Value&& other) noexcept {
  if (this != &other) {
    reset();
    handle_ = other.handle_;
    other.handle_ = 0;
  }
  return *this;
}

void Value::reset() {
  if (handle_ != 0) {
    EXPECT_EQ(quillon_release(handle_), QUILLON_OK) << quillon_error_text();
    handle_ = 0;
  }
}

Value text(const std::string& s) {
  Value v;
  EXPECT_EQ(quillon_text(s.c_str(), v.out()), QUILLON_OK) << quillon_error_text();
  return v;
}

Value number(int32_t n) {
  Value v;
  EXPECT_EQ(quillon_long(n, v.out()), QUILLON_OK) << quillon_error_text();
  return v;
}

Value real(double d) {
  Value v;
  EXPECT_EQ(quillon_double(d, v.out()), QUILLON_OK) << quillon_error_text();
  return v;
}

Value boolean(bool b) {
  Value v;
  EXPECT_EQ(quillon_bool(b ? 1 : 0, v.out()), QUILLON_OK) << quillon_error_text();
  return v;
}

Value missing() {
  Value v;
  EXPECT_EQ(quillon_missing(v.out()), QUILLON_OK) << quillon_error_text();
  return v;
}

Value created(const std::string& progId) {
  Value v;
  EXPECT_EQ(quillon_create(progId.c_str(), v.out()), QUILLON_OK) << quillon_error_text();
  return v;
}

quillon_kind kindOf(const Value& v) {
  quillon_kind kind = QUILLON_EMPTY;
  EXPECT_EQ(quillon_kind_of(v.get(), &kind), QUILLON_OK) << quillon_error_text();
  return kind;
}

std::string textOf(const Value& v) {
  const char* s = nullptr;
  EXPECT_EQ(quillon_get_text(v.get(), &s), QUILLON_OK) << quillon_error_text();
  return s ? s : "";
}

std::string displayOf(const Value& v) {
  const char* s = nullptr;
  EXPECT_EQ(quillon_display_text(v.get(), &s), QUILLON_OK) << quillon_error_text();
  return s ? s : "";
}

Value call(const Value& object, const std::string& member,
           std::initializer_list<const Value*> args) {
  std::vector<quillon_value> handles;
  for (const Value* a : args) handles.push_back(a->get());
  Value result;
  EXPECT_EQ(quillon_call(object.get(), member.c_str(), handles.size(), handles.data(), nullptr,
                         result.out()),
            QUILLON_OK)
      << quillon_error_text();
  return result;
}

const std::filesystem::path& demoAccount() {
  static const std::filesystem::path path = [] {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quillon-capi-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::path db = dir / "demo.db";
    auto outcome = test_support::runCommand(
        QUILLON_BINARY, {"init-db", "--db", db.string(), "--scale", "1", "--force"}, dir);
    if (outcome.status != 0) throw std::runtime_error("init-db failed: " + outcome.err);
    // Gone with the test program.
    static struct Remove {
      std::filesystem::path dir;
      ~Remove() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
      }
    } remove{dir};
    return db;
  }();
  return path;
}

Value demoLogin() {
  Value login = created("Quillon.Suite.Login");
  Value db = text(demoAccount().string());
  Value user = text("demo");
  Value date;
  EXPECT_EQ(quillon_date_text("2026-12-05", date.out()), QUILLON_OK) << quillon_error_text();
  Value ok = call(login, "Open", {&db, &user, &date});
  return login;
}

::testing::AssertionResult failedWith(quillon_status got, quillon_status status,
                                      const std::string& part, int32_t number) {
  const std::string text = quillon_error_text();
  if (got != status) {
    return ::testing::AssertionFailure()
           << "status " << got << " instead of " << status << " (" << text << ")";
  }
  if (quillon_error_status() != status) {
    return ::testing::AssertionFailure() << "the last error's status is " << quillon_error_status();
  }
  if (text.find(part) == std::string::npos) {
    return ::testing::AssertionFailure() << "the text \"" << text << "\" lacks \"" << part << "\"";
  }
  if (number != 0 && quillon_error_number() != number) {
    return ::testing::AssertionFailure()
           << "error number " << quillon_error_number() << " instead of " << number;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace quillon::capi_test
