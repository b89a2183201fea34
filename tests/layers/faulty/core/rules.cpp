// Deliberately wrong: the core library reaching Qt through a header.
#include "core/qt_inside.h"
