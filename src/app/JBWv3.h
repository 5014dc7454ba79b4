#pragma once

// The program entry: builds the windows, runs the message loop until "Quit Program"
// (or SIGTERM/SIGINT), then tears everything down. Returns the exit code.
int JBWv3(int argc, char** argv);
