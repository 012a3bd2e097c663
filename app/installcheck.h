#pragma once
// `orvik --check-install`: says where this copy of the program finds its
// data, without a display, a window or the serial port, so that an install
// can be checked by a script. Prints
//   Orvik <version>
//   pictures: <folder>      (or "pictures: not found in <folders>")
//   README: <file>          (or "README: not found")
// and returns the exit status: 0 when both were found, 1 otherwise.
int RunInstallCheck(int argc, char** argv);

// True when the command line asks for that check.
bool InstallCheckRequested(int argc, char** argv);
