#include "Harness.h"
TEST(Placeholder, Nothing) {}
