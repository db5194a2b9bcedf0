// Read-back verification of the generated picture files.
#pragma once

#include <string>

// Checks every expected file in `dir`; prints each fault and returns the
// number of faults (0 = all good).
int checkImages(const std::string& dir);
