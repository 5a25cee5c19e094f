// Skipping a Qt test from inside: a skip outside CI, a failure under it (see ci_mode.h).
#pragma once

#include <QtTest>

#include "support/ci_mode.h"

#define SKIP_OUTSIDE_CI(why)                             \
    do {                                                 \
        if (testsupport::skipsAreFailures()) QFAIL(why); \
        QSKIP(why);                                      \
    } while (false)
