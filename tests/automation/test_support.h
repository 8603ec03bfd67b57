// Shared assertion for the automation tests: a statement raises ComError with this number.
#pragma once

#include <gtest/gtest.h>

#include "automation/com_error.h"

#define EXPECT_COM_ERROR(statement, expectedNumber)                                       \
  do {                                                                                    \
    try {                                                                                 \
      statement;                                                                          \
      ADD_FAILURE() << #statement " raised nothing, expected error " << (expectedNumber); \
    } catch (const ::quillon::automation::ComError& e) {                                  \
      EXPECT_EQ(e.number(), (expectedNumber)) << #statement ": " << e.description();      \
    }                                                                                     \
  } while (false)
