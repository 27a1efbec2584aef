#pragma once

#include <gtest/gtest.h>

// Tests of what a link planted by someone else must not make us do need to plant one. On Windows that
// takes a privilege a test run does not have (and neither Wine nor the MinGW library makes links), so
// there they are skipped; the Windows halves refuse reparse points, tested where they are made.
#ifdef _WIN32
#define SKIP_UNLESS_LINKS_CAN_BE_PLANTED() GTEST_SKIP() << "a test cannot plant a symbolic link on Windows"
#else
#define SKIP_UNLESS_LINKS_CAN_BE_PLANTED() static_cast<void>(0)
#endif
