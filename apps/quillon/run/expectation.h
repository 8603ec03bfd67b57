// When an `expect $ref = value` line holds. The comparison is the one a person reading the
// transcript would make, not the platform's loose coercion:
//  - null, nothing and an Empty variable match only themselves;
//  - a number matches a number (Booleans count as -1 and 0, dates as their serial) within a
//    relative 1e-9, so a decimal column read back as a Double still equals its literal;
//  - true and false match Booleans, and numbers by being non-zero or zero;
//  - a text matches a text byte for byte, and dates and numbers by their display text
//    ("2026-12-05", "10.5"); an Empty value matches "";
//  - an error object ($error after a call that raised) matches its number or its text;
//  - two objects match when they are the same object.
#pragma once

#include "automation/variant.h"

namespace quillon::cli::run {

bool matches(const automation::Variant& actual, const automation::Variant& expected);

}  // namespace quillon::cli::run
