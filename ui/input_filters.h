// The edit checks of the panel's text fields, asked before every keystroke.
#pragma once

#include <cstdint>
#include <string>

#include "ui/toolkit.h"

namespace jc {

// The text an edit inserts: from where the selection started before the edit
// to the caret after it; empty for a deletion.
std::u16string insertedText(const std::u16string& proposed, TextRange proposedSelection,
                            TextRange originalSelection);

// The number-formatter filters: a length limit and the number format they
// carry (the format is never consulted).
class CharacterLimitFilter : public Formatter {
 public:
  void setFormat(std::u16string format) { format_ = std::move(format); }
  void SetmaxCharactersCount(std::uint64_t count) { maxValue = count; }
  std::uint64_t maxValue = 0;

 private:
  std::u16string format_;
};

// Digits only, at most maxValue characters after the edit.
class MyIntegerNumberFilter final : public CharacterLimitFilter {
 public:
  bool isPartialStringValid(const std::u16string& proposed, TextRange proposedSelection,
                            const std::u16string& original,
                            TextRange originalSelection) const override;
};

// Any character, at most maxValue characters after the edit.
class MyRomanFilter final : public CharacterLimitFilter {
 public:
  bool isPartialStringValid(const std::u16string& proposed, TextRange proposedSelection,
                            const std::u16string& original,
                            TextRange originalSelection) const override;
};

class LoginnameInputFilterCallback {
 public:
  virtual ~LoginnameInputFilterCallback() = default;
};

// Lets every edit through.
class LoginnameInputFilter final : public Formatter {
 public:
  void setCallback(const void* context) { m_context = context; }
  bool isPartialStringValid(const std::u16string&, TextRange, const std::u16string&,
                            TextRange) const override {
    return true;
  }
  const void* m_context = nullptr;
};

}  // namespace jc
