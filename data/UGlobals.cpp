#include "data/UGlobals.h"
