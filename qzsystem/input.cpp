#include "qzsystem/input.h"

#include <algorithm>
#include <utility>

#include "qzsystem/document.h"
#include "qzsystem/operator.h"
#include "qzsystem/parameter.h"

namespace {

// Observers may remove themselves while being told, so removal during a walk
// only blanks the slot; the walk visits the observers present at its start.
template <typename Visit>
void WalkObservers(std::vector<InputObserver*>& observers, int& notifying, bool& removed, Visit visit) {
  if (observers.empty()) return;
  ++notifying;
  const size_t count = observers.size();
  for (size_t i = 0; i < count; ++i) {
    if (InputObserver* observer = observers[i]) visit(observer);
  }
  if (--notifying == 0 && removed) {
    std::erase(observers, nullptr);
    removed = false;
  }
}

}  // namespace

Input::Input(const char* name, uint32_t id) : Object(id) {
  if (name) SetAttrString(InputNameTag, name);
}

Input::~Input() {
  Attach(nullptr);
  if (CPipelineDoc* doc = GetDoc()) doc->History().Forget(this);
  ReleaseValues();
}

uint32_t Input::SetAttrsTagList(TagList& tags) {
  Object::SetAttrsTagList(tags);
  if (const intptr_t* name = tags.Find(InputNameTag)) SetAttrString(InputNameTag, reinterpret_cast<const char*>(*name));
  return 1;
}

const char* Input::GetName() const {
  return reinterpret_cast<const char*>(GetAttr(InputNameTag));
}

CPipelineDoc* Input::GetDoc() const {
  return Owner ? Owner->Doc : nullptr;
}

void Input::ReleaseValues() {
  if (Constant) Constant->Recycle();
  Constant = nullptr;
  for (Key& key : Keys) key.Value->Recycle();
  Keys.clear();
}

Parameter* Input::ValueAt(double time) const {
  if (!Animated) return Constant;
  if (Keys.empty()) return nullptr;
  auto after = std::upper_bound(Keys.begin(), Keys.end(), time, [](double t, const Key& key) { return t < key.Time; });
  return after == Keys.begin() ? Keys.front().Value : std::prev(after)->Value;
}

Parameter* Input::StoredAt(double time) const {
  if (!Animated) return Constant;
  auto key = std::lower_bound(Keys.begin(), Keys.end(), time, [](const Key& k, double t) { return k.Time < t; });
  return key != Keys.end() && key->Time == time ? key->Value : nullptr;
}

// Returns the reference that was stored at that slot (the caller releases it).
Parameter* Input::ExchangeStored(Parameter* value, double time) {
  if (value) value->Use();
  if (!Animated) return std::exchange(Constant, value);
  auto key = std::lower_bound(Keys.begin(), Keys.end(), time, [](const Key& k, double t) { return k.Time < t; });
  if (key != Keys.end() && key->Time == time) {
    Parameter* old = key->Value;
    if (value) {
      key->Value = value;
    } else {
      Keys.erase(key);
    }
    return old;
  }
  if (value) Keys.insert(key, Key{time, value});
  return nullptr;
}

Parameter* Input::GetValue(double time) {
  Parameter* value = ValueAt(time);
  if (value) value->Use();
  return value;
}

uint32_t Input::SetValue(Parameter* value, double time, uint32_t) {
  Parameter* old = nullptr;
  if (!Store(value, time, &old)) return 0;
  if (old) old->Recycle();
  return 1;
}

Parameter* Input::Replace(Parameter* value, double time) {
  Parameter* old = nullptr;
  if (Store(value, time, &old)) return old;
  Parameter* same = StoredAt(time);
  if (same) same->Use();
  return same;
}

bool Input::Store(Parameter* value, double time, Parameter** old) {
  if (SameValue(StoredAt(time), value)) return false;
  *old = ExchangeStored(value, time);
  CPipelineDoc* doc = GetDoc();
  if (doc) doc->History().RecordValue(this, time, *old, value);
  if (doc && doc->GetWriteListener()) doc->GetWriteListener()->InputWritten(this, time, value);
  NotifyObservers(doc ? doc->CurrentTime : time);
  return true;
}

void Input::NotifyObservers(double time) {
  if (Observers.empty()) return;
  // Held for the walk: an observer may write this input while being told.
  Parameter* value = ValueAt(time);
  if (value) value->Use();
  WalkObservers(Observers, Notifying, ObserverRemoved,
                [this, value](InputObserver* observer) { observer->InputChanged(this, value); });
  if (value) value->Recycle();
}

void Input::Animate(uint32_t on) {
  if ((on != 0) == Animated) return;
  CPipelineDoc* doc = GetDoc();
  const double now = doc ? doc->CurrentTime : 0.0;
  if (on) {
    Animated = true;
    if (Constant) Keys.push_back(Key{now, std::exchange(Constant, nullptr)});
    return;
  }
  Parameter* value = ValueAt(now);
  if (value) value->Use();
  ReleaseValues();
  Animated = false;
  Constant = value;
}

void Input::Attach(Output* output) {
  if (Connection) std::erase(Connection->Connections, this);
  Connection = output;
  if (output) output->Connections.push_back(this);
  Attrs.Set(InputConnectionTag, reinterpret_cast<intptr_t>(output));
}

uint32_t Input::ConnectTo(Output* output, uint32_t) {
  if (output == Connection) return 1;
  if (output && Owner && output->Owner == Owner) return 0;
  Output* before = Connection;
  Attach(output);
  if (CPipelineDoc* doc = GetDoc()) doc->History().RecordConnection(this, before, output);
  WalkObservers(Observers, Notifying, ObserverRemoved,
                [this, output](InputObserver* observer) { observer->InputConnected(this, output); });
  return 1;
}

void Input::LoseConnection() {
  Attach(nullptr);
  WalkObservers(Observers, Notifying, ObserverRemoved,
                [this](InputObserver* observer) { observer->InputConnected(this, nullptr); });
}

void Input::AddObserver(InputObserver* observer) {
  if (!observer || std::find(Observers.begin(), Observers.end(), observer) != Observers.end()) return;
  Observers.push_back(observer);
}

bool Input::HasObserver(const InputObserver* observer) const {
  return observer && std::find(Observers.begin(), Observers.end(), observer) != Observers.end();
}

std::vector<std::pair<double, const Parameter*>> Input::StoredValues() const {
  std::vector<std::pair<double, const Parameter*>> stored;
  if (!Animated) {
    if (Constant) stored.emplace_back(0.0, Constant);
    return stored;
  }
  for (const Key& key : Keys) stored.emplace_back(key.Time, key.Value);
  return stored;
}

void Input::RemoveObserver(InputObserver* observer) {
  auto found = std::find(Observers.begin(), Observers.end(), observer);
  if (found == Observers.end()) return;
  if (Notifying > 0) {
    *found = nullptr;
    ObserverRemoved = true;
  } else {
    Observers.erase(found);
  }
}
