#pragma once

#include <string>

#include <QString>
#include <QValidator>

namespace tk {

// Text as one line of a settings file can hold it: up to its first line break, without
// control characters, which would break the line or end the file early.
QString OneLine(const QString& text);
std::string OneLine(const std::string& text);

// Keeps an edit box to one line: of pasted text only the part before its first line
// break goes in, as in a single-line box.
class OneLineValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

}  // namespace tk
