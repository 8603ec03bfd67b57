// What the C-interface tests share: a value handle released with its owner, checks that a call
// failed with a given status (and what its text says), and the scale-1 demo account made once per
// test program by the built `quillon init-db`.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "quillon.h"

namespace quillon::capi_test {

class Value {
 public:
  Value() = default;
  explicit Value(quillon_value handle) : handle_(handle) {}
  ~Value() { reset(); }
  Value(Value&& other) noexcept : handle_(other.handle_) { other.handle_ = 0; }
  Value& operator=(Value&& other) noexcept;
  Value(const Value&) = delete;
  Value& operator=(const Value&) = delete;

  quillon_value get() const { return handle_; }
  quillon_value* out() {
    reset();
    return &handle_;
  }
  // Hands the handle over (the caller releases it).
  quillon_value take() {
    quillon_value h = handle_;
    handle_ = 0;
    return h;
  }
  void reset();

 private:
  quillon_value handle_ = 0;
};

Value text(const std::string& s);
Value number(int32_t n);
Value real(double d);
Value boolean(bool b);
Value missing();
Value created(const std::string& progId);
quillon_kind kindOf(const Value& v);
std::string textOf(const Value& v);
std::string displayOf(const Value& v);

// Calls a member with arguments passed by value; fails the test when the call fails.
Value call(const Value& object, const std::string& member,
           std::initializer_list<const Value*> args = {});

// The scale-1 demo account of this test program, built once and removed when it ends.
const std::filesystem::path& demoAccount();
// A login of the demo user on the account, dated 2026-12-05.
Value demoLogin();

// The last call failed with `status`, its text holds `part` (and it carries `number` when given).
::testing::AssertionResult failedWith(quillon_status got, quillon_status status,
                                      const std::string& part, int32_t number = 0);

}  // namespace quillon::capi_test
