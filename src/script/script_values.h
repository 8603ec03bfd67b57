// The values and references of a script as its runners use them: a literal's Automation value,
// and the source form of values and references for transcripts and failure messages.
#pragma once

#include <string>

#include "automation/variant.h"
#include "script/script_ast.h"

namespace quillon::script {

// The value a literal stands for: "text" a String, 12 a Long, 1.5 a Double, true/false Automation
// Booleans, null Null, nothing an object variable holding Nothing, - an omitted argument. Not for
// variables and references, which only the runner can look up.
automation::Variant literalValue(const ScriptValue& value);

// As written in a script: "a\"b", 12, 1.5, true, null, nothing, -, $name, $rs[2].cInvCode.
std::string sourceText(const ScriptValue& value);
// $rs[2].cInvCode, $coll["Parent"].count.
std::string sourceText(const ScriptRef& ref);

}  // namespace quillon::script
