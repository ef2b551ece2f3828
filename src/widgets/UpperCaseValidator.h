#pragma once

#include <QValidator>

// Turns ASCII letters into upper case as they are typed or pasted, the way an
// upper-case edit control does; every text is acceptable.
class UpperCaseValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
