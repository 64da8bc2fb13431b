#include "plugin/ppd_choice.h"

#include <cstring>

#include "platform/diagnostic_log.h"
#include "plugin/panel.h"

namespace jc {

PDEChoicePtr KorvelPrintPdeVx418JCPDEChoice::choiceWithChoice(ppd_choice_t* choice) {
  return std::make_shared<KorvelPrintPdeVx418JCPDEChoice>(choice);
}

void KorvelPrintPdeVx418JCPDEChoice::initWithChoice(ppd_choice_t* choice) {
  choice_ = choice;
  userTitle_.reset();
  ppdTitle_.reset();
}

std::optional<std::u16string> KorvelPrintPdeVx418JCPDEChoice::userTitle(NSStringEncoding encoding) {
  if (!userTitle_ && choice_) {
    const std::size_t n = strnlen(choice_->text, sizeof choice_->text);
    userTitle_ = decodeBytesNS(std::string_view(choice_->text, n), encoding);
  }
  if (!userTitle_) pdeLog(this, "could not create userTitle!");
  return userTitle_;
}

std::optional<std::u16string> KorvelPrintPdeVx418JCPDEChoice::ppdTitle() {
  if (!ppdTitle_ && choice_) {
    const std::size_t n = strnlen(choice_->choice, sizeof choice_->choice);
    ppdTitle_ = decodeBytesNS(std::string_view(choice_->choice, n), NSASCIIStringEncoding);
  }
  if (!ppdTitle_) pdeLog(this, "could not create ppdTitle!");
  return ppdTitle_;
}

std::optional<PDEChoiceList> ArrayFromPPDOption(ppd_option_t* option) {
  if (!option) return std::nullopt;
  PDEChoiceList list;
  if (option->num_choices < 1 || !option->choices) return list;
  list.reserve(std::size_t(option->num_choices));
  for (int i = 0; i < option->num_choices; ++i)
    list.push_back(KorvelPrintPdeVx418JCPDEChoice::choiceWithChoice(&option->choices[i]));
  return list;
}

PDEChoicePtr FindChoiceForString(const std::optional<std::u16string>& keyword,
                                 const PDEChoiceList& choices) {
  if (!keyword) return nullptr;
  for (const PDEChoicePtr& choice : choices)
    if (choice && choice->ppdTitle() == *keyword) return choice;
  return nullptr;
}

void InitPopUpFromArray(ControlRef popUp, const PDEChoiceList& choices, NSStringEncoding encoding) {
  popUp->removeAllItems();
  for (const PDEChoicePtr& choice : choices) {
    MenuItem item;
    if (choice) item.title = choice->userTitle(encoding).value_or(u"");
    item.representedObject = choice;
    popUp->addItem(std::move(item));
  }
}

std::int64_t KorvelPrintPdeVx418JC::indexOfMarkedOption(ppd_option_t* option,
                                                        const char* key) const {
  ppd_choice_t* choice = (ppd && key) ? ppdFindMarkedChoice(ppd, key) : nullptr;
  if (!choice && option && option->defchoice[0]) choice = ppdFindChoice(option, option->defchoice);
  // The index is the choice's place in the option's own array.
  if (choice && option && choice >= option->choices &&
      choice < option->choices + std::max(option->num_choices, 0))
    return choice - option->choices;
  if (choice && !option) {
    if (ppd_option_t* owner = choice->option) return choice - owner->choices;
  }
  pdeLog(this, "returning a -1 index means there was no default choice");
  return -1;
}

void KorvelPrintPdeVx418JC::getSelection(PDEChoicePtr& current, ControlRef popUp, const char* key) {
  pdeProlog(this, "getSelection:(%@) fromPopUp:(%@) forKey:(%@)", current.get(), popUp.get(), key);
  const int index = popUp->indexOfSelectedItem();
  pdeLog(this, "selected index: %i", index);
  PDEChoicePtr candidate;
  if (const MenuItem* item = popUp->itemAtIndex(index))
    if (const auto* wrapper = std::any_cast<PDEChoicePtr>(&item->representedObject))
      candidate = *wrapper;
  pdeLog(this, "selected request: %@", candidate.get());
  if (candidate) takeIfAccepted(current, candidate, key);
  pdeEpilog(this, "getSelection:fromPopUp:forKey:=PDEChoice(%@)", current.get());
}

void KorvelPrintPdeVx418JC::getSelection(PDEChoicePtr& current, const PDEChoiceList& choices,
                                         ControlRef button, const char* key) {
  pdeProlog(this, "getSelection:(%@) fromButton:(%@) forKey:(%@)", current.get(), button.get(),
            key);
  // A button in its mixed state stands for no entry: the selection stays.
  const int index = button->state();
  pdeLog(this, "selected index: %i", index);
  PDEChoicePtr candidate;
  if (index >= 0 && std::size_t(index) < choices.size()) candidate = choices[std::size_t(index)];
  pdeLog(this, "selected request: %@", candidate.get());
  if (candidate) takeIfAccepted(current, candidate, key);
  pdeEpilog(this, "getSelection:fromChoices:fromButton:forKey:=PDEChoice(%@)", current.get());
}

void KorvelPrintPdeVx418JC::takeIfAccepted(PDEChoicePtr& current, const PDEChoicePtr& candidate,
                                           const char* key) {
  if (!useConstraintHandling) {
    current = candidate;
    return;
  }
  const std::string keyword = toUtf8(candidate->ppdTitle().value_or(u""));
  if (pdePluginCallbackObject &&
      pdePluginCallbackObject->willChangePPDOptionKeyValue(key, keyword.c_str()))
    current = candidate;
}

}  // namespace jc
