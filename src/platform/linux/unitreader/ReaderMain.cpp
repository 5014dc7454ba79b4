// jbw-unit-reader: reads one sound unit for the board, which starts it with the unit
// open on descriptor 3, a memory file on 4 and its answer pipe on 5 (ReaderAnswer.h);
// 0 to 2 are /dev/null, so what a unit prints goes nowhere.
// The unit's code runs only here, after the process has confined itself.
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/linux/unitreader/Confinement.h"
#include "platform/linux/unitreader/ReaderAnswer.h"
#include "platform/linux/unitreader/UnitExports.h"

namespace {

void WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace

int main() {
  // Whatever the starter left open beyond what it hands over is not for a unit.
  close_range(6, ~0U, 0);
  platform::ReaderAnswer answer;
  std::string why;
  if (platform::ConfineReader(&why))
    answer = platform::InspectUnit(3, 4);
  else
    answer.why = "the unit reader cannot confine itself: " + why;
  WriteAll(5, platform::EncodeReaderAnswer(answer));
  // Ends without running the unit's finalizers: it has said all it may say.
  _exit(0);
}
