#pragma once

#include "platform/WinTypes.h"

namespace platform {

// Makes GetCursorPos answer `point` for as long as it lives.
class InputPointScope {
 public:
  explicit InputPointScope(POINT point);
  ~InputPointScope();
  InputPointScope(const InputPointScope&) = delete;
  InputPointScope& operator=(const InputPointScope&) = delete;

 private:
  const POINT* outer_;
  POINT point_;
};

}  // namespace platform
