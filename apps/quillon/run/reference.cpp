#include "run/reference.h"

#include <algorithm>
#include <exception>

#include "ado/fields.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/dispatch.h"
#include "automation/text_compare.h"
#include "script/script_values.h"
#include "value_printer.h"

namespace quillon::cli::run {

namespace {

using automation::Variant;
using script::ScriptError;
using script::ScriptRef;
using script::sourceText;
using Step = ScriptRef::Step;

bool isCount(const Step& step) {
  return step.kind == Step::Kind::Member && automation::equalsNoCase(step.name, "count");
}

std::string stepText(const Step& step) {
  ScriptRef one;
  one.path.push_back(step);
  return sourceText(one).substr(1);  // without the "$" of the empty variable name
}

class Walker {
 public:
  explicit Walker(const ScriptRef& ref) : ref_(ref) {}

  // Follows the first `steps` steps of the path (all of them by default).
  Resolved walk(const Variables& variables, std::size_t steps = std::string::npos) {
    auto it = variables.find(ref_.variable);
    if (it == variables.end()) fail("$" + ref_.variable + " was never set");
    here_ = "$" + ref_.variable;
    current_.value = it->second;
    for (std::size_t i = 0; i < ref_.path.size() && i < steps; ++i) {
      const Step& step = ref_.path[i];
      if (current_.row) {
        current_ = fieldOf(step);
      } else {
        current_ = next(step);
      }
      here_ += stepText(step);
    }
    return current_;
  }

  // Writes `value` through the last step, from where walk() stopped before it.
  void write(const Variant& value) {
    const Step& step = ref_.path.back();
    try {
      if (current_.row) {
        current_.row->setValue(Variant(step.name), value);
        current_.row->update();
        return;
      }
      const Variant& holder = current_.value;
      if (!holder.isObject() || holder.isNothing()) {
        fail(here_ + " is " + describeValue(holder) + ", which has no " + stepText(step) +
             " to set");
      }
      const auto kind = value.isObject() ? automation::InvokeKind::PropertySet
                                         : automation::InvokeKind::PropertyLet;
      automation::Object& obj = *holder.asObject();
      if (step.kind == Step::Kind::Member) {
        std::vector<Variant> args{value};
        obj.invoke(step.name, kind, args);
      } else {
        // obj("key") = value, through the default member.
        std::vector<Variant> args{Variant(step.name), value};
        obj.invoke(automation::kDispIdValue, kind, args);
      }
    } catch (const automation::ComError& e) {
      failComError(step, e);
    }
  }

 private:
  [[noreturn]] void fail(const std::string& message) const { throw ScriptError(ref_.pos, message); }

  [[noreturn]] void failComError(const Step& step, const automation::ComError& e) const {
    throw RaisedInReference(ref_.pos,
                            here_ + stepText(step) + " raised error " + std::to_string(e.number()) +
                                ": " + e.description(),
                            e);
  }

  Resolved fieldOf(const Step& step) {
    if (step.kind == Step::Kind::Index) {
      fail(here_ + " is a row; name one of its fields, as in " + here_ + ".cInvCode");
    }
    ado::Recordset& row = *current_.row;
    const auto& fields = row.fields();
    for (std::int32_t i = 0; i < fields->count(); ++i) {
      const auto& field = fields->item(static_cast<std::size_t>(i));
      const std::string& name = field->name();
      if (automation::equalsNoCase(name, step.name)) {
        try {
          return {row.value(static_cast<std::size_t>(i)), nullptr, 0};
        } catch (const automation::ComError& e) {
          failComError(step, e);
        }
      }
    }
    std::string names;
    for (std::int32_t i = 0; i < fields->count(); ++i) {
      names += (i ? ", " : "") + fields->item(static_cast<std::size_t>(i))->name();
    }
    fail(here_ + " has no field " + step.name + " (its fields: " + names + ")");
  }

  Resolved rowOf(ado::Recordset& rs, int number) {
    if (!rs.isOpen()) fail(here_ + " is a closed recordset");
    const int count = std::max(rs.recordCount(), 0);
    if (number < 1 || number > count) {
      fail(here_ + " has " + std::to_string(count) + (count == 1 ? " row" : " rows") +
           "; there is no row " + std::to_string(number));
    }
    // A clone keeps the host's own position where the script found it.
    auto view = rs.clone();
    view->setFilter(rs.filter());
    view->setSort(rs.sort());
    view->moveFirst();
    if (number > 1) view->move(number - 1);
    return {Variant(), view, number};
  }

  Resolved itemOf(automation::Collection& coll, const Step& step) {
    if (step.kind == Step::Kind::Key) {
      if (!coll.contains(step.name)) {
        std::string keys;
        for (const auto& key : coll.keys()) {
          if (key) keys += (keys.empty() ? "\"" : ", \"") + *key + "\"";
        }
        fail(here_ + " has no item with the key \"" + step.name + "\"" +
             (keys.empty() ? std::string(" (its items have no keys)")
                           : " (its keys: " + keys + ")"));
      }
      return {coll.item(step.name), nullptr, 0};
    }
    if (step.index < 1 || static_cast<std::size_t>(step.index) > coll.count()) {
      fail(here_ + " has " + std::to_string(coll.count()) +
           (coll.count() == 1 ? " item" : " items") + "; there is no item " +
           std::to_string(step.index));
    }
    return {coll.item(static_cast<std::size_t>(step.index)), nullptr, 0};
  }

  Resolved elementOf(const automation::VariantArray& array, const Step& step) {
    if (isCount(step)) return {Variant(static_cast<std::int32_t>(array.items.size())), nullptr, 0};
    if (step.kind != Step::Kind::Index) fail(here_ + " is an array; index it as " + here_ + "[1]");
    const long long i = static_cast<long long>(step.index) - array.lowerBound;
    if (i < 0 || i >= static_cast<long long>(array.items.size())) {
      fail(here_ + " has no element " + std::to_string(step.index) + " (it runs from " +
           std::to_string(array.lowerBound) + " to " +
           std::to_string(array.lowerBound + static_cast<long long>(array.items.size()) - 1) + ")");
    }
    return {array.items[static_cast<std::size_t>(i)], nullptr, 0};
  }

  Resolved next(const Step& step) {
    const Variant& value = current_.value;
    if (value.isArray()) return elementOf(*value.asArray(), step);
    if (!value.isObject()) {
      fail(here_ + " is " + describeValue(value) + ", which has no " + stepText(step));
    }
    if (value.isNothing()) fail(here_ + " is Nothing, which has no " + stepText(step));
    automation::Object& obj = *value.asObject();
    try {
      if (auto* rs = dynamic_cast<ado::Recordset*>(&obj)) {
        if (step.kind == Step::Kind::Index) return rowOf(*rs, step.index);
        if (isCount(step)) {
          if (!rs->isOpen()) fail(here_ + " is a closed recordset");
          return {Variant(std::max(rs->recordCount(), 0)), nullptr, 0};
        }
      }
      if (auto* coll = dynamic_cast<automation::Collection*>(&obj)) {
        if (step.kind != Step::Kind::Member) return itemOf(*coll, step);
        if (isCount(step)) {
          return {Variant(static_cast<std::int32_t>(coll->count())), nullptr, 0};
        }
      }
      if (step.kind == Step::Kind::Member) return {obj.get(step.name), nullptr, 0};
      // Other objects are indexed through their default member, as obj(1) or obj("key") would.
      std::vector<Variant> args{step.kind == Step::Kind::Index ? Variant(step.index)
                                                               : Variant(step.name)};
      return {obj.invoke(automation::kDispIdValue, automation::InvokeKind::PropertyGet, args),
              nullptr, 0};
    } catch (const automation::ComError& e) {
      failComError(step, e);
    }
  }

  const ScriptRef& ref_;
  std::string here_;
  Resolved current_;
};

}  // namespace

Resolved resolve(const ScriptRef& ref, const Variables& variables) {
  return Walker(ref).walk(variables);
}

void assign(const ScriptRef& ref, const Variant& value, const Variables& variables) {
  Walker walker(ref);
  walker.walk(variables, ref.path.size() - 1);
  walker.write(value);
}

}  // namespace quillon::cli::run
