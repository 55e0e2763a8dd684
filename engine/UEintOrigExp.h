#pragma once
// The library's exported functions are declared, with C linkage, in
// orvan32.h, which the client includes too. This module defines them and
// holds the library-wide state: the current engine instance, the option
// `Variation` and the two windows.

#include "engine/orvan32.h"
