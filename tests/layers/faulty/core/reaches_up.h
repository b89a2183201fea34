#pragma once
// Deliberately wrong: the layer check must refuse an include that runs upward.
#include "match/seat.h"
