#pragma once
// The assignment run done the straightforward way: every move scans the
// whole pupil list from its start. Slow, obviously right, and written
// independently of the engine, whose results it checks.

#include "tests/engine/UEngineInstance.h"

TRunResult RescanRun(const TEngineInstance& instance, bool variation);
