#include "wizard/proposed_text.h"

namespace wizard {

void ProposedText::Load(const cc::Str& proposal) {
  bool typedOwn = loaded_ && !text_.Equals(proposal_);
  proposal_ = proposal;
  loaded_ = true;
  if (!typedOwn) text_ = proposal;
}

}  // namespace wizard
