#pragma once
// The nine functions of the engine library liborvan32.so. The program links
// the library with immediate binding, so it does not start when the library
// or one of the names is missing; there is no loading at run time.
//
// Create, Destroy, SetOptions, AddProNode, AddSchNode, AddTransition,
// SolveIt, GetSchMatching, GetImplId: declared once, by the library's own
// header, for both sides of the boundary.

#include "engine/orvan32.h"
