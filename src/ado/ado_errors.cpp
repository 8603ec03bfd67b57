#include "ado/ado_errors.h"

namespace quillon::ado {

using automation::ComError;

namespace {
constexpr const char* kSource = "ADODB";
constexpr const char* kArgumentsText =
    "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one "
    "another.";
}  // namespace

void throwArguments() {
  throw ComError(kErrArguments, kArgumentsText, kSource);
}

// The number and text stay the documented ones; the detail goes into the source so that a
// transcript still shows what was wrong.
void throwArguments(const std::string& detail) {
  throw ComError(kErrArguments, kArgumentsText, std::string(kSource) + ": " + detail);
}

void throwNoCurrentRecord() {
  throw ComError(kErrNoCurrentRecord,
                 "Either BOF or EOF is True, or the current record has been deleted. Requested "
                 "operation requires a current record.",
                 kSource);
}

void throwItemNotFound() {
  throw ComError(kErrItemNotFound,
                 "Item cannot be found in the collection corresponding to the requested name or "
                 "ordinal.",
                 kSource);
}

void throwWrongValueType() {
  throw ComError(kErrWrongValueType,
                 "Application uses a value of the wrong type for the current operation.", kSource);
}

void throwObjectClosed() {
  throw ComError(kErrObjectClosed, "Operation is not allowed when the object is closed.", kSource);
}

void throwObjectOpen() {
  throw ComError(kErrObjectOpen, "Operation is not allowed when the object is open.", kSource);
}

void throwOperationNotAllowed() {
  throw ComError(kErrOperationNotAllowed, "Operation is not allowed in this context.", kSource);
}

void throwConnectionInvalid() {
  throw ComError(kErrConnectionInvalid,
                 "The connection cannot be used to perform this operation. It is either closed or "
                 "invalid in this context.",
                 kSource);
}

}  // namespace quillon::ado
