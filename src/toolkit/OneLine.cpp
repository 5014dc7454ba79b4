#include "toolkit/OneLine.h"

namespace tk {

namespace {

bool IsLineBreak(QChar c) {
  return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

}  // namespace

QString OneLine(const QString& text) {
  QString line;
  for (const QChar c : text) {
    if (IsLineBreak(c)) break;
    if (c.category() != QChar::Other_Control) line += c;
  }
  return line;
}

std::string OneLine(const std::string& text) {
  std::string line;
  for (const char c : text) {
    if (c == '\r' || c == '\n') break;
    if (static_cast<unsigned char>(c) >= 32 && c != '\x7f') line += c;
  }
  return line;
}

// The cursor stands at the end of what was just typed or pasted; the text after it was
// in the box before and holds no line break.
QValidator::State OneLineValidator::validate(QString& input, int& pos) const {
  const QString before = OneLine(input.left(pos));
  input = before + OneLine(input.mid(pos));
  pos = static_cast<int>(before.size());
  return Acceptable;
}

}  // namespace tk
