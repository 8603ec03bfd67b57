/* quillon.h: the C interface of the Quillon library, for hosts written in any language that can
 * call C (C itself, Python through ctypes, and so on).
 *
 * A host creates the library's public classes by ProgID, calls their members late-bound by name
 * with arguments passed as values, and reads what comes back: texts, numbers, dates, Booleans,
 * Nothing, collections and recordsets. Dialogs the library shows are worked by a person (drawn by
 * the Qt renderer) or answered by a block of host-script dialog lines.
 *
 * ABI: every function is plain C, takes and returns only integers, doubles, UTF-8 texts and
 * handles, and stays as it is for as long as the library's major version (QUILLON_ABI_VERSION,
 * the shared library's SONAME) does not change. Functions are added, never changed.
 *
 * Handles. A quillon_value is a number naming one value the library keeps for the host: an empty
 * value, a text, a number, a date, a Boolean, Null, an object (a class instance, a collection, a
 * recordset) or Nothing. Every function that gives a handle hands it over to the caller, who gives
 * it back with quillon_release(); handles are never reused, so a released one is recognised and
 * refused rather than mistaken for another value. Releasing a handle never invalidates another:
 * objects live for as long as any handle or any other object still refers to them, so handles may
 * be released in any order.
 *
 * Errors. Every function returning quillon_status reports what went wrong as a status, and the
 * calling thread's last error holds an error number and a text (quillon_error_number,
 * quillon_error_text) until that thread's next call. A status of QUILLON_RAISED means the library
 * raised one of its run-time errors (429 for an unknown ProgID, 438 for an unknown member, 449 or
 * 450 for the wrong number of arguments, 13 for a type mismatch, the library's own numbers for its
 * own errors); the other statuses are the interface's own. No input makes the library end the
 * process.
 *
 * Texts. Every text going in is UTF-8 and ends in a NUL. A text coming out (const char **) stays
 * valid until the calling thread's next call into the library; copy it to keep it longer.
 *
 * Threads. Calls are serialised inside the library, so any thread may call; dialogs drawn for a
 * person need the calls to come from the program's main thread.
 */
#ifndef QUILLON_H
#define QUILLON_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QUILLON_ABI_VERSION 1

/* A value the library keeps for the host; 0 is no value. */
typedef uint64_t quillon_value;

typedef enum quillon_status {
  QUILLON_OK = 0,
  QUILLON_RAISED = 1,        /* the library raised a run-time error: its number and text */
  QUILLON_NULL_POINTER = 2,  /* a pointer argument that must not be null was null */
  QUILLON_BAD_HANDLE = 3,    /* 0, a released handle or one never given out */
  QUILLON_WRONG_KIND = 4,    /* the value is not of the kind the function reads */
  QUILLON_OUT_OF_RANGE = 5,  /* a row, field or item number outside the value */
  QUILLON_SCRIPT_FAILED = 6, /* dialog lines that do not parse, or that failed or went unused */
  QUILLON_UNAVAILABLE = 7,   /* the build or the machine cannot do it (no Qt, no display) */
  QUILLON_INTERNAL = 8       /* an unexpected failure inside the library (out of memory, ...) */
} quillon_status;

/* The kinds of value, as quillon_kind() reports them. */
typedef enum quillon_kind {
  QUILLON_EMPTY = 0,
  QUILLON_NULL = 1,
  QUILLON_BOOLEAN = 2,
  QUILLON_INTEGER = 3, /* 16-bit */
  QUILLON_LONG = 4,    /* 32-bit */
  QUILLON_DOUBLE = 5,
  QUILLON_DATE = 6,
  QUILLON_TEXT = 7,
  QUILLON_OBJECT = 8, /* an object other than a collection or a recordset */
  QUILLON_NOTHING = 9,
  QUILLON_MISSING = 10, /* an omitted optional argument */
  QUILLON_ARRAY = 11,
  QUILLON_COLLECTION = 12,
  QUILLON_RECORDSET = 13
} quillon_kind;

/* ---- The library ------------------------------------------------------------------------- */

/* "1.1 (commit 0123456789ab)": the version and the commit the library was built from. */
const char* quillon_version(void);

/* The calling thread's last error: QUILLON_OK and 0 and "" after a call that succeeded. */
quillon_status quillon_error_status(void);
int32_t quillon_error_number(void);
const char* quillon_error_text(void);

/* ---- Making values ----------------------------------------------------------------------- */

quillon_status quillon_empty(quillon_value* out);
quillon_status quillon_null(quillon_value* out);
quillon_status quillon_nothing(quillon_value* out);
/* An omitted optional argument: the member sees its declared default. */
quillon_status quillon_missing(quillon_value* out);
quillon_status quillon_bool(int value, quillon_value* out); /* non-zero is True */
quillon_status quillon_integer(int16_t value, quillon_value* out);
quillon_status quillon_long(int32_t value, quillon_value* out);
quillon_status quillon_double(double value, quillon_value* out);
/* A date as its serial number: days since 1899-12-30, the fraction the time of day. */
quillon_status quillon_date(double serial, quillon_value* out);
/* A date from "YYYY-MM-DD" or "YYYY-MM-DD hh:mm:ss". */
quillon_status quillon_date_text(const char* text, quillon_value* out);
quillon_status quillon_text(const char* utf8, quillon_value* out);
/* An array of count values (lower bound 0), copied from the handles given. */
quillon_status quillon_array(size_t count, const quillon_value* items, quillon_value* out);
/* A second handle to the same value (an object is shared, not copied). */
quillon_status quillon_copy(quillon_value value, quillon_value* out);

/* Gives a handle back. Every handle the library gives out must be released once. */
quillon_status quillon_release(quillon_value value);

/* ---- Reading values ---------------------------------------------------------------------- */

quillon_status quillon_kind_of(quillon_value value, quillon_kind* out);
/* Booleans only. */
quillon_status quillon_get_bool(quillon_value value, int* out);
/* Integers and Longs. */
quillon_status quillon_get_long(quillon_value value, int32_t* out);
/* Any number (Boolean, Integer, Long, Double). */
quillon_status quillon_get_double(quillon_value value, double* out);
/* Dates: the serial number. */
quillon_status quillon_get_date(quillon_value value, double* out);
/* Texts only. */
quillon_status quillon_get_text(quillon_value value, const char** out);
/* Any value but an object, as a list shows it: "" for Empty and Null, "True"/"False", dates as
 * "YYYY-MM-DD[ hh:mm:ss]"; an object gives its class name in angle brackets. */
quillon_status quillon_display_text(quillon_value value, const char** out);
/* The class of an object ("ProduceOrder", "Collection", "Recordset"). */
quillon_status quillon_class_name(quillon_value value, const char** out);

/* Arrays: the number of items, and an item by its place from 0 (whatever the lower bound). */
quillon_status quillon_array_count(quillon_value array, int32_t* out);
quillon_status quillon_array_item(quillon_value array, int32_t place, quillon_value* out);

/* ---- Objects ----------------------------------------------------------------------------- */

/* A new object of a public class, by ProgID ("Quillon.ProduceOrder") or CLSID. */
quillon_status quillon_create(const char* prog_id, quillon_value* out);

/* Calls a member late-bound, as a host's obj.Member(args...) would. args holds argc handles (may
 * be null when argc is 0). by_ref, when not null, holds argc flags: an argument whose flag is
 * non-zero is passed by reference, and when the member declares that parameter ByRef the value
 * behind its handle is what the member left there; the others are passed by value and never
 * change. result, when not null, receives a new handle to what the member returned (Empty for a
 * Sub). */
quillon_status quillon_call(quillon_value object, const char* member, size_t argc,
                            const quillon_value* args, const int* by_ref, quillon_value* result);

/* Reads a property (with no index arguments). */
quillon_status quillon_get_property(quillon_value object, const char* name, quillon_value* out);
/* Assigns a property: obj.Name = value, or Set obj.Name = value for an object or Nothing. */
quillon_status quillon_set_property(quillon_value object, const char* name, quillon_value value);

/* ---- Collections ------------------------------------------------------------------------- */

quillon_status quillon_collection_count(quillon_value collection, int32_t* out);
/* Items count from 1. */
quillon_status quillon_collection_item(quillon_value collection, int32_t index, quillon_value* out);
/* By key, without regard to case; QUILLON_RAISED (5) when no item has the key. */
quillon_status quillon_collection_item_by_key(quillon_value collection, const char* key,
                                              quillon_value* out);
/* The key of an item ("" when it has none). */
quillon_status quillon_collection_key(quillon_value collection, int32_t index, const char** out);

/* ---- Recordsets -------------------------------------------------------------------------- */
/* Rows are those of the recordset's present view (its filter and sort), counted from 1; fields
 * count from 0. Reading never moves the recordset's own current row. */

quillon_status quillon_recordset_field_count(quillon_value recordset, int32_t* out);
quillon_status quillon_recordset_field_name(quillon_value recordset, int32_t field,
                                            const char** out);
quillon_status quillon_recordset_row_count(quillon_value recordset, int32_t* out);
quillon_status quillon_recordset_value(quillon_value recordset, int32_t row, int32_t field,
                                       quillon_value* out);
/* A field by name, without regard to case; QUILLON_RAISED (3265) for a name the rows lack. */
quillon_status quillon_recordset_value_by_name(quillon_value recordset, int32_t row,
                                               const char* field, quillon_value* out);

/* ---- Dialogs ----------------------------------------------------------------------------- */
/* Without either of the two below, a dialog the library shows closes at once and every question
 * takes its default answer. */

#define QUILLON_DIALOGS_DRAWN                                      \
  1 /* also draw the forms the lines work (Qt; offscreen without a \
       display) */

/* Dialog lines of the host-script language answer the dialogs of the calls that follow: "on
 * FORM ... end" blocks of actions, and answers to message, input, lookup, calendar and filter
 * dialogs. Host lines (login, new, call, ...) are the host's own calls and are refused. Replaces
 * whatever dialogs were set before. QUILLON_SCRIPT_FAILED names the line and column of lines that
 * do not parse. */
quillon_status quillon_dialogs_script(const char* dialog_lines, int flags);

/* The dialogs of the calls that follow are drawn by the Qt renderer and worked by the person at
 * the screen. QUILLON_UNAVAILABLE without a display or in a build without the desktop dialogs. */
quillon_status quillon_dialogs_person(void);

/* What the dialogs did so far: forms shown and closed, message boxes with the answers given, one
 * line each. */
quillon_status quillon_dialogs_transcript(const char** out);

/* Ends the dialog lines or the person's dialogs and goes back to the default. With dialog lines,
 * QUILLON_SCRIPT_FAILED says which line failed (an action on a control the form lacks, an expect
 * that did not hold) or which block or answer was never used. */
quillon_status quillon_dialogs_finish(void);

/* ---- Describing members ------------------------------------------------------------------ */
/* What a class declares, for hosts that bind arguments by name or show a member's signature.
 * Members a class answers without declaring them (the fields of a settings object, say) are
 * not listed: quillon_member_info refuses them with QUILLON_RAISED (438), and they are still
 * called by name through quillon_call and the property functions. */

#define QUILLON_MEMBER_METHOD 1 /* a Sub or Function */
#define QUILLON_MEMBER_GET 2    /* a property that is read */
#define QUILLON_MEMBER_LET 4    /* a property that is assigned a value */
#define QUILLON_MEMBER_SET 8    /* a property that is assigned an object (Set) */

#define QUILLON_PARAM_OPTIONAL 1 /* may be left out (passed as Missing) */
#define QUILLON_PARAM_BY_REF 2   /* receives what the member leaves in it */

/* The members an object's class declares, in their order (from 0). */
quillon_status quillon_member_count(quillon_value object, int32_t* out);
quillon_status quillon_member_name(quillon_value object, int32_t index, const char** out);
/* A member by name (without regard to case): what it is (QUILLON_MEMBER_* bits) and how many
 * parameters it declares. */
quillon_status quillon_member_info(quillon_value object, const char* member, int* kinds,
                                   int32_t* param_count);
/* A parameter of a member, from 0: its name and QUILLON_PARAM_* flags. */
quillon_status quillon_member_param(quillon_value object, const char* member, int32_t index,
                                    const char** name, int* flags);
/* The type the parameter is declared with ("String", "Boolean", "Collection", "Variant", ...). */
quillon_status quillon_member_param_type(quillon_value object, const char* member, int32_t index,
                                         const char** out);
/* The member's signature as one line: "Function load(sProOrderId As String, oLogin As Object,
 * ByRef oCollReurn As Collection, ...) As Boolean". */
quillon_status quillon_member_text(quillon_value object, const char* member, const char** out);

/* ---- Calls with their own dialog lines --------------------------------------------------- */

/* quillon_call with dialog lines answering the dialogs of this one call: the lines (flags as for
 * quillon_dialogs_script) stand in for whatever dialogs were set (dialog lines, a person's, or
 * none), which are back when the call returns; no other thread's call comes in between. Lines
 * that do not parse are QUILLON_SCRIPT_FAILED before the member is called. When the member
 * raised, the status is its error (the text says when the lines failed as well); when it
 * returned but a line failed or a block or answer went unused, the status is
 * QUILLON_SCRIPT_FAILED naming the line, and result and the by-reference arguments hold what the
 * member left all the same (release result). */
quillon_status quillon_call_dialogs(quillon_value object, const char* member, size_t argc,
                                    const quillon_value* args, const int* by_ref,
                                    const char* dialog_lines, int flags, quillon_value* result);

/* What the dialogs of the calling thread's last quillon_call_dialogs did, one line each ("" before
 * any). */
quillon_status quillon_call_dialogs_transcript(const char** out);

/* ---- Whole recordsets, accounts, handles ------------------------------------------------- */

/* count rows of a recordset's present view from row first (from 1), in one call: an array of
 * count arrays, each holding the row's values in field order. first may be one past the last
 * row when count is 0. */
quillon_status quillon_recordset_rows(quillon_value recordset, int32_t first, int32_t count,
                                      quillon_value* out);

/* Checks an account database (a file, or a server location) as `quillon check-db` does: clean is
 * non-zero when nothing was found, report what was found as a person reads it. Only reads. */
quillon_status quillon_check_account(const char* db, int* clean, const char** report);

/* The handles given out and not yet released, in the whole process: a host's leak check. */
quillon_status quillon_value_count(size_t* out);

#ifdef __cplusplus
}
#endif

#endif /* QUILLON_H */
