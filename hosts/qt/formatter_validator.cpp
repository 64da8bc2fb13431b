#include "hosts/qt/formatter_validator.h"

#include <QLineEdit>

#include "hosts/qt/qt_text.h"

namespace jc::qt {

TextRange selectionOf(const QLineEdit& field) {
  if (field.hasSelectedText())
    return TextRange{static_cast<std::size_t>(field.selectionStart()),
                     static_cast<std::size_t>(field.selectionLength())};
  return TextRange{static_cast<std::size_t>(field.cursorPosition()), 0};
}

FormatterValidator::FormatterValidator(QLineEdit& field, std::unique_ptr<Formatter> formatter)
    : QValidator(&field), field_(field), formatter_(std::move(formatter)) {
  settle();
  // Qt signals these once an edit has been taken or a selection made; the
  // validator is asked before, while the field already holds the new text.
  connect(&field_, &QLineEdit::textChanged, this, [this] { settle(); });
  connect(&field_, &QLineEdit::selectionChanged, this, [this] { settle(); });
  connect(&field_, &QLineEdit::cursorPositionChanged, this, [this] { settle(); });
}

void FormatterValidator::settle() {
  original_ = fromQString(field_.text());
  originalSelection_ = selectionOf(field_);
}

QValidator::State FormatterValidator::validate(QString& input, int& pos) const {
  if (programWriting_ || !formatter_) return Acceptable;
  const std::u16string proposed = fromQString(input);
  if (proposed == original_) return Acceptable;
  const TextRange caret{static_cast<std::size_t>(pos < 0 ? 0 : pos), 0};
  return formatter_->isPartialStringValid(proposed, caret, original_, originalSelection_)
             ? Acceptable
             : Invalid;
}

}  // namespace jc::qt
