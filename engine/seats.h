#pragma once
// Moved to the core folder; this name keeps older includes building.
#include "core/seats.h"
