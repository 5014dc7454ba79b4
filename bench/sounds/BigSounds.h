#pragma once

#include <cstdint>
#include <string>

namespace bench {

// A WAV file of about `megabytes` MB (10^6 bytes) of a 441 Hz tone, made once per
// size and rate in a temporary folder removed at exit.
const std::string& BigWave(int megabytes, int rate = 44100);

// The folder those files live in, for other generated inputs.
const std::string& BenchFolder();

// Anonymous resident memory of this process, in KiB (RssAnon of /proc/self/status).
int64_t AnonymousKiB();

}  // namespace bench
