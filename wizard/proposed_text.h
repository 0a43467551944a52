// A text box's content that the page proposes and the user may change:
// the proposal at the first load, and after a language switch the proposal
// in the new language only when the user has not typed a text of their own.
#pragma once

#include "core/str.h"

namespace wizard {

class ProposedText {
 public:
  // Loads `proposal` (in the language now in force); keeps a typed text.
  void Load(const cc::Str& proposal);
  // What the text box holds now.
  void Edit(const cc::Str& text) { text_ = text; }
  const cc::Str& Text() const { return text_; }

 private:
  cc::Str text_;
  cc::Str proposal_;
  bool loaded_ = false;
};

}  // namespace wizard
