// A tool's input: its value over time, its connection and its observers.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "qzsystem/list.h"
#include "qzsystem/object.h"

class CPipelineDoc;
class Input;
class Operator;
class Output;
class Parameter;

// Told of every effective change of an input it watches.
class InputObserver {
 public:
  // `value` is the input's value at the document's current time (at the
  // written time when the input has no document); it may be null. The
  // observer does not own it; Use it to keep it.
  virtual void InputChanged(Input* input, Parameter* value) = 0;
  virtual void InputConnected(Input* /*input*/, Output* /*output*/) {}

 protected:
  ~InputObserver() = default;
};

// Attribute tags an input carries.
constexpr uint32_t InputNameTag = 0x10020001;
constexpr uint32_t InputConnectionTag = 0x10030000;

class Input : public Object {
 public:
  // `name` is kept as an owned copy in attribute 0x10020001.
  explicit Input(const char* name = nullptr, uint32_t id = 0);
  ~Input() override;

  Operator* Owner = nullptr;
  List Controls;

  // Merges as Object does, then keeps its own copy of a name given there.
  uint32_t SetAttrsTagList(TagList& tags) override;

  const char* GetName() const;
  // The owner's document, or null.
  CPipelineDoc* GetDoc() const;

  // A constant input has one value for all times. An animated input keeps
  // keyed values: the value at a time is that of the last key at or before
  // it, else that of the first key. Returns a new reference, or null when
  // there is no value.
  Parameter* GetValue(double time);
  // Stores a reference to `value` (the constant, or the key at `time` when
  // animated; null clears it) and returns non-zero when the stored value
  // changed. An effective change is recorded in the document's undo, then
  // every observer is told. `flags` is accepted and not used.
  uint32_t SetValue(Parameter* value, double time, uint32_t flags);
  // SetValue for undo and redo: returns a reference to what was stored at
  // that slot before (null when nothing), which the caller releases; when
  // the value is the same, that is the value already stored.
  Parameter* Replace(Parameter* value, double time);

  // Turning animation on makes the constant a key at the document's current
  // time (0 without a document); turning it off keeps the value at that
  // time as the constant. Not recorded for undo.
  void Animate(uint32_t on);
  uint32_t IsAnimated() const { return Animated; }
  uint32_t KeyCount() const { return static_cast<uint32_t>(Keys.size()); }
  // The time of key `index` in time order; 0 when there is no such key.
  double KeyTime(uint32_t index) const { return index < Keys.size() ? Keys[index].Time : 0.0; }
  // What the input stores, for a host that compares or saves state: the
  // constant (at time 0) of a constant input, else every key in time order.
  // The values are not referenced for the caller.
  std::vector<std::pair<double, const Parameter*>> StoredValues() const;

  // Connects to `output` (null disconnects); the connected output is also
  // attribute 0x10030000. A tool's input cannot take one of the same tool's
  // outputs (returns 0). Effective changes are recorded for undo and told
  // to observers. `flags` is accepted and not used.
  uint32_t ConnectTo(Output* output, uint32_t flags);
  uint32_t IsConnected() const { return Connection != nullptr; }
  Output* ConnectedTo() const { return Connection; }

  // Observers are not owned; one may remove itself (or others) while being
  // told. Observers added during a notification are told from the next one.
  void AddObserver(InputObserver* observer);
  void RemoveObserver(InputObserver* observer);
  bool HasObserver(const InputObserver* observer) const;
  // Tells every observer the value at `time` (used when the time changes).
  void NotifyObservers(double time);

 private:
  friend class Output;

  struct Key {
    double Time;
    Parameter* Value;
  };

  Parameter* ValueAt(double time) const;
  Parameter* ExchangeStored(Parameter* value, double time);
  Parameter* StoredAt(double time) const;
  // Stores `value` when it differs from what is stored, records, tells;
  // `*old` gets the reference that was stored when it was replaced.
  bool Store(Parameter* value, double time, Parameter** old);
  void Attach(Output* output);
  // The connected output is going away: disconnect without recording.
  void LoseConnection();
  void ReleaseValues();
  double DisplayTime(double written) const;

  Parameter* Constant = nullptr;
  std::vector<Key> Keys;
  bool Animated = false;
  Output* Connection = nullptr;
  std::vector<InputObserver*> Observers;
  int Notifying = 0;
  bool ObserverRemoved = false;
};
