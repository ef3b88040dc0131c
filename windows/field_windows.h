// The rich-edit field and the list box of the text and clip-list controls:
// the toolkit's windows with one change, a message pre-translation that keeps
// plain editing keys (digits, a few letters the host uses as shortcuts,
// Backspace, Delete, the clipboard keys) in the field instead of letting the
// host's accelerators take them.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"

namespace qzc {

// The pre-translation both windows share. TRUE when the message was handled
// here (delivered to `field`, or turned into IDCANCEL); FALSE leaves it to
// the parents' pre-translation (the host's accelerators among them) and then
// to normal dispatch.
BOOL PreTranslateFieldMessage(CWnd& field, MSG* msg);

class QZRichEdit : public CRichEditCtrl {
 public:
  static constexpr const char* ClassName = "QZRichEdit";
  BOOL PreTranslateMessage(MSG* msg) override { return PreTranslateFieldMessage(*this, msg); }
};

class QZListBox : public CListBox {
 public:
  static constexpr const char* ClassName = "QZListBox";
  BOOL PreTranslateMessage(MSG* msg) override { return PreTranslateFieldMessage(*this, msg); }
};

}  // namespace qzc
