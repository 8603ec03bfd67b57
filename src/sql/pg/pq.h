// libpq, loaded when the server engine first needs it: a program that only opens account files
// never maps the client library nor what it brings along (TLS, LDAP, Kerberos). The engine calls
// libpq as pq::PQexec(...) and so on; the first call loads the library, and a library that
// cannot be loaded is a connection error naming it.
#pragma once

#include <libpq-fe.h>

// Every libpq function the server engine calls.
#define QUILLON_PQ_FUNCTIONS(X) \
  X(PQclear)                    \
  X(PQcmdTuples)                \
  X(PQconnectdbParams)          \
  X(PQconninfoFree)             \
  X(PQconninfoParse)            \
  X(PQconsumeInput)             \
  X(PQerrorMessage)             \
  X(PQexec)                     \
  X(PQfinish)                   \
  X(PQfname)                    \
  X(PQfreemem)                  \
  X(PQftable)                   \
  X(PQftablecol)                \
  X(PQftype)                    \
  X(PQgetResult)                \
  X(PQgetisnull)                \
  X(PQgetlength)                \
  X(PQgetvalue)                 \
  X(PQisBusy)                   \
  X(PQnfields)                  \
  X(PQntuples)                  \
  X(PQputCopyData)              \
  X(PQputCopyEnd)               \
  X(PQresultErrorField)         \
  X(PQresultErrorMessage)       \
  X(PQresultStatus)             \
  X(PQsendQuery)                \
  X(PQsetNoticeProcessor)       \
  X(PQsocket)                   \
  X(PQstatus)                   \
  X(PQtransactionStatus)        \
  X(PQunescapeBytea)

namespace quillon::sql::pq {

// The library's functions, resolved once.
struct Functions {
#define QUILLON_PQ_POINTER(name) decltype(&::name) name = nullptr;
  QUILLON_PQ_FUNCTIONS(QUILLON_PQ_POINTER)
#undef QUILLON_PQ_POINTER
};

// The soname loaded: libpq.so.5, or what QUILLON_LIBPQ names.
const char* libraryName();

// Loads the library on the first call. Throws SqlError::clientLibraryMissing when it cannot be
// loaded or lacks one of the functions; a later call tries again.
const Functions& functions();

// pq::PQexec(conn, text) calls libpq's PQexec, and so for every function of the list.
#define QUILLON_PQ_FORWARD(name)      \
  template <typename... Args>         \
  inline auto name(Args... args) {    \
    return functions().name(args...); \
  }
QUILLON_PQ_FUNCTIONS(QUILLON_PQ_FORWARD)
#undef QUILLON_PQ_FORWARD

}  // namespace quillon::sql::pq
