#pragma once

namespace testing_support {

// Sets what every test program and the programs it starts need: no display, and sanitizer reports
// limited to our own faults (the platform libraries' one-time allocations are not leaks of ours).
void prepareTestEnvironment();

} // namespace testing_support
