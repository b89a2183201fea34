#pragma once
// Deliberately wrong: the rules must not include a window.
#include "shell/table.h"
