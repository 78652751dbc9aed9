// SGF bytes: decode, parse, import every game tree, and check what was imported as the data
// file builder does. Nothing may crash, the decoded text and every remark are valid UTF-8, and
// every import either gives a problem or a refusal with a reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "problem_import/problem_data.h"
#include "problem_import/problem_import.h"
#include "problem_import/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!zendra::IsValidUtf8(zendra::DecodeSgfText(text).text)) std::abort();
  zendra::RemarkList remarks;
  for (zendra::ImportOutcome& outcome : zendra::ImportSgf(text)) {
    if (!outcome.problem) {
      if (outcome.refusal.reason.empty() || outcome.refusal.category.empty()) std::abort();
      continue;
    }
    for (const auto& remark : outcome.problem->remarks) {
      if (!zendra::IsValidUtf8(remark.second)) std::abort();
    }
    zendra::ApplyRemarks(*outcome.problem, remarks);
    zendra::DataProblem p;
    p.arrangedBlack = outcome.problem->arrangedBlack;
    p.arrangedWhite = outcome.problem->arrangedWhite;
    p.firstToPlay = outcome.problem->firstToPlay;
    p.result2 = outcome.problem->result2;
    p.solution = outcome.problem->tree.Save();
    zendra::CheckProblem(p);
    (void)zendra::TreeOutline(outcome.problem->tree);
  }
  return 0;
}
