// A field's formatter as Qt's validator: each edit of the QLineEdit is offered
// to the formatter with the text and selection before it and after it; a
// refusal makes Qt take the edit back, so the field stays as it was.
#pragma once

#include <QValidator>
#include <memory>

#include "ui/toolkit.h"

class QLineEdit;

namespace jc::qt {

class FormatterValidator final : public QValidator {
 public:
  // Watches `field`'s text and selection to know the state before each edit.
  FormatterValidator(QLineEdit& field, std::unique_ptr<Formatter> formatter);

  State validate(QString& input, int& pos) const override;

  const Formatter* formatter() const { return formatter_.get(); }
  // Records the field's present text and selection as the state before the
  // next edit.
  void settle();
  // While the program writes the field, every text passes.
  void setProgramWriting(bool writing) { programWriting_ = writing; }

 private:
  QLineEdit& field_;
  std::unique_ptr<Formatter> formatter_;
  std::u16string original_;
  TextRange originalSelection_;
  bool programWriting_ = false;
};

// The field's selection, or its caret as an empty range.
TextRange selectionOf(const QLineEdit& field);

}  // namespace jc::qt
