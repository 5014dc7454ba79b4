// jbw-unit-reader: reads one sound unit for the board, which starts it with the unit
// open on descriptor 3, a memory file on 4 and its answer pipe on 1 (ReaderAnswer.h).
// The unit's code runs only here, after the process has confined itself.
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/linux/unitreader/Confinement.h"
#include "platform/linux/unitreader/ReaderAnswer.h"
#include "platform/linux/unitreader/UnitInspection.h"

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
  // Whatever the starter left open beyond the three it hands over is not for a unit.
  close_range(5, ~0U, 0);
  platform::ReaderAnswer answer;
  std::string why;
  if (platform::ConfineReader(&why))
    answer = platform::InspectUnit(3, 4);
  else
    answer.why = "the unit reader cannot confine itself: " + why;
  WriteAll(1, platform::EncodeReaderAnswer(answer));
  // Ends without running the unit's finalizers: it has said all it may say.
  _exit(0);
}
