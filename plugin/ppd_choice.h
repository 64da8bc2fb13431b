// Controls that stand for PPD options: a wrapper of one PPD choice, lists of
// wrappers made from an option, and pop-ups filled from such a list.
#pragma once

#include <cups/ppd.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "ui/toolkit.h"

namespace jc {

class KorvelPrintPdeVx418JCPDEChoice {
 public:
  static std::shared_ptr<KorvelPrintPdeVx418JCPDEChoice> choiceWithChoice(ppd_choice_t* choice);
  explicit KorvelPrintPdeVx418JCPDEChoice(ppd_choice_t* choice) { initWithChoice(choice); }

  void initWithChoice(ppd_choice_t* choice);
  // The choice's human-readable text in `encoding`, made on the first success
  // and kept: later calls answer the kept text whatever encoding they pass.
  std::optional<std::u16string> userTitle(NSStringEncoding encoding);
  // The choice keyword, made on the first success and kept.
  std::optional<std::u16string> ppdTitle();
  ppd_choice_t* choice() const { return choice_; }

 private:
  std::optional<std::u16string> userTitle_;
  std::optional<std::u16string> ppdTitle_;
  ppd_choice_t* choice_ = nullptr;
};

using PDEChoicePtr = std::shared_ptr<KorvelPrintPdeVx418JCPDEChoice>;
using PDEChoiceList = std::vector<PDEChoicePtr>;

// One wrapper per choice of the option, in the option's order; none for no option.
std::optional<PDEChoiceList> ArrayFromPPDOption(ppd_option_t* option);
// The first wrapper whose keyword equals `keyword` exactly; null when none.
PDEChoicePtr FindChoiceForString(const std::optional<std::u16string>& keyword,
                                 const PDEChoiceList& choices);
// Replaces the pop-up's items by one per wrapper: its user title, the wrapper
// as the item's represented object.
void InitPopUpFromArray(ControlRef popUp, const PDEChoiceList& choices, NSStringEncoding encoding);

}  // namespace jc
