// Tools (operators) and their outputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "qzsystem/input.h"
#include "qzsystem/list.h"
#include "qzsystem/object.h"
#include "windef.h"

class CPipelineDoc;
class Operator;
class PreviewControl;
class PreviewInfo;
class Registry;

constexpr uint32_t OutputOwnerTag = 0x10020002;
constexpr uint32_t OutputNameTag = 0x10020001;

class Output : public Object {
 public:
  // `type`, when non-zero, is the first type the output delivers.
  explicit Output(const char* name = nullptr, uint32_t id = 0, uint32_t type = 0);
  // Disconnects every input still connected (not recorded for undo).
  ~Output() override;

  // Also attribute 0x10020002.
  Operator* Owner = nullptr;

  const char* GetName() const;
  uint32_t HasType(uint32_t type) const;
  void AddType(uint32_t type);
  const std::vector<Input*>& ConnectedInputs() const { return Connections; }

 private:
  friend class Input;
  std::vector<uint32_t> Types;
  std::vector<Input*> Connections;
};

class Operator : public Object {
 public:
  static constexpr size_t NameSize = 64;

  explicit Operator(const char* name = nullptr, uint32_t id = 0);
  // Releases the tool's inputs and outputs.
  ~Operator() override;

  // Longer names are cut to NameSize - 1 characters.
  char Name[NameSize];
  CPipelineDoc* Doc = nullptr;
  Registry* Registration = nullptr;
  uint32_t SuppressNotify = 0;
  List Inputs;
  List Outputs;
  List PreviewControls;

  void SetName(const char* name);

  // Adopt the caller's reference: the tool owns its inputs and outputs.
  Input* AddInput(Input* input);
  Input* AddInput(const char* name, uint32_t id = 0);
  Output* AddOutput(Output* output);
  Output* AddOutput(const char* name, uint32_t id = 0, uint32_t type = 0);
  // The first input or output whose name equals `name` (when given) and
  // whose ID equals `id` (when non-zero); null when neither is given.
  Input* FindInput(const char* name, uint32_t id = 0) const;
  Input* FindInput(uint32_t id) const { return FindInput(nullptr, id); }
  Output* FindOutput(const char* name, uint32_t id = 0) const;
  Output* FindOutput(uint32_t id) const { return FindOutput(nullptr, id); }

  // Copies Name (at most NameSize bytes with its terminator) into `buffer`.
  virtual void GetName(char* buffer);
  // The hooks through which a tool draws and handles its own viewer overlay;
  // a plain tool has none.
  virtual void PreviewDraw(PreviewControl* control, HDC hdc, PreviewInfo* info, uint32_t erase);
  virtual uint32_t PreviewDown(PreviewControl* control, HDC hdc, PreviewInfo* info, POINT point);
  virtual void PreviewMove(PreviewControl* control, HDC hdc, PreviewInfo* info, POINT point);
  virtual void PreviewUp(PreviewControl* control, HDC hdc, PreviewInfo* info, POINT point);
  virtual void PreviewCommand(PreviewControl* control, HDC hdc, PreviewInfo* info, uint32_t command, void* data);
  virtual uint32_t PreviewGetTip(PreviewControl* control, HDC hdc, PreviewInfo* info, char* text);
  virtual void PreviewDragDone();

 private:
  template <typename T>
  void ReleaseAll(List& list);
  template <typename T>
  static T* FindIn(const List& list, const char* name, uint32_t id);
};
